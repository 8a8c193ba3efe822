# A folder of portable sources plus Windows files (cmake/source-kinds.txt
# says which) becomes two libraries: varnel_<name>_core, built everywhere,
# and varnel_<name>, which adds the Windows part on Windows.
include(${CMAKE_CURRENT_LIST_DIR}/VarnelSources.cmake)

function(varnel_folder_libraries name)
  varnel_folder_sources(portable windows)
  add_library(varnel_${name}_core STATIC ${portable})
  if(WIN32)
    if(windows)
      add_library(varnel_${name} STATIC ${windows})
      target_link_libraries(varnel_${name} PUBLIC varnel_${name}_core)
    else()
      add_library(varnel_${name} INTERFACE)
      target_link_libraries(varnel_${name} INTERFACE varnel_${name}_core)
    endif()
  endif()
endfunction()
