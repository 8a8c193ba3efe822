# Delay-import libraries for the system DLLs that are not KnownDLLs. On
# Windows the loader searches the exe's own folder first for such a DLL, so
# one imported the usual way could be planted beside Varnel.exe and run
# before the program's first line. Imported through these libraries, each
# loads at its first call, after the program has restricted the search to
# System32 (platform/SystemDlls.h).
#
# Every entry point of mingw-w64's import library goes into the delay
# library, so any caller links, and none falls back to a normal import.
function(varnel_delay_import target dll)
  string(TOLOWER "${dll}" lower)
  find_library(_varnel_import_${lower} NAMES lib${lower}.a REQUIRED)
  set(import ${_varnel_import_${lower}})
  set(folder ${CMAKE_BINARY_DIR}/delay-imports)
  set(def ${folder}/${lower}.def)
  set(lib ${folder}/lib${lower}-delay.a)
  file(MAKE_DIRECTORY ${folder})
  execute_process(COMMAND x86_64-w64-mingw32-nm -g --defined-only ${import}
                  OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL "[^\n]* I __imp_[^\n]+" entries "${symbols}")
  set(exports "")
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE ".* I __imp_" "" name "${entry}")
    list(APPEND exports "    ${name}")
  endforeach()
  list(REMOVE_DUPLICATES exports)
  if(NOT exports)
    message(FATAL_ERROR "${import} names no entry point")
  endif()
  list(JOIN exports "\n" body)
  file(WRITE ${def} "LIBRARY ${lower}.dll\nEXPORTS\n${body}\n")
  # dlltool names its symbols after the library's path as given: relative,
  # so that no build folder ends up in the exe.
  execute_process(COMMAND x86_64-w64-mingw32-dlltool --input-def ${lower}.def
                          --dllname ${lower}.dll --output-delaylib lib${lower}-delay.a
                  WORKING_DIRECTORY ${folder} COMMAND_ERROR_IS_FATAL ANY)
  add_library(${target} STATIC IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${lib})
endfunction()
