# The native helper programs of the Windows tests (tests/tools). This build
# cross-compiles, so it builds them as a sub-build of its own for the build
# machine (no toolchain file passed on: the host's compilers), every time it
# builds, and knows where their outputs lie:
#   varnel::screen-pattern, varnel::road-expect, varnel::png-pixels,
#   varnel::xinerama-heads
#     imported targets for $<TARGET_FILE:...>;
#   varnel_test_tools_for_folder()
#     called once at the top of a test folder: when the folder is done,
#     every test it added gets the tools' paths in the variables the
#     scripts read (VARNEL_SCREEN_PATTERN, VARNEL_ROAD_EXPECT,
#     VARNEL_PNG_PIXELS, VARNEL_XINERAMA), so no test can be left without them.
include(ExternalProject)

set(VARNEL_TEST_TOOLS_DIR ${CMAKE_BINARY_DIR}/tests/tools-native)
set(VARNEL_TEST_TOOLS
    "screen-pattern|EXECUTABLE|screen-pattern"
    "road-expect|EXECUTABLE|road-expect"
    "png-pixels|EXECUTABLE|png-pixels"
    "xinerama-heads|SHARED|xinerama/libXinerama.so.1")
set(byproducts)
foreach(tool ${VARNEL_TEST_TOOLS})
  string(REPLACE "|" ";" tool "${tool}")
  list(GET tool 2 file)
  list(APPEND byproducts ${VARNEL_TEST_TOOLS_DIR}/${file})
endforeach()

ExternalProject_Add(varnel_test_tools
                    SOURCE_DIR ${PROJECT_SOURCE_DIR}/tests/tools
                    BINARY_DIR ${VARNEL_TEST_TOOLS_DIR}
                    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
                    INSTALL_COMMAND ""
                    # The sub-build knows its own sources' changes.
                    BUILD_ALWAYS TRUE
                    BUILD_BYPRODUCTS ${byproducts})

foreach(tool ${VARNEL_TEST_TOOLS})
  string(REPLACE "|" ";" tool "${tool}")
  list(GET tool 0 name)
  list(GET tool 1 kind)
  list(GET tool 2 file)
  if(kind STREQUAL "EXECUTABLE")
    add_executable(varnel::${name} IMPORTED GLOBAL)
  else()
    add_library(varnel::${name} SHARED IMPORTED GLOBAL)
  endif()
  set_target_properties(varnel::${name} PROPERTIES IMPORTED_LOCATION ${VARNEL_TEST_TOOLS_DIR}/${file})
  add_dependencies(varnel::${name} varnel_test_tools)
endforeach()

function(varnel_test_tools_environment)
  set_property(TEST ${ARGN} APPEND PROPERTY ENVIRONMENT
               "VARNEL_SCREEN_PATTERN=$<TARGET_FILE:varnel::screen-pattern>"
               "VARNEL_ROAD_EXPECT=$<TARGET_FILE:varnel::road-expect>"
               "VARNEL_PNG_PIXELS=$<TARGET_FILE:varnel::png-pixels>"
               "VARNEL_XINERAMA=$<TARGET_FILE:varnel::xinerama-heads>")
endfunction()

function(varnel_test_tools_for_this_folder)
  get_property(tests DIRECTORY PROPERTY TESTS)
  if(tests)
    varnel_test_tools_environment(${tests})
  endif()
endfunction()

# Deferred to the end of the folder, after every set_tests_properties that
# sets (and so replaces) a test's ENVIRONMENT.
macro(varnel_test_tools_for_folder)
  cmake_language(DEFER CALL varnel_test_tools_for_this_folder)
endmacro()
