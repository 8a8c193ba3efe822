# The native helper programs of the Windows tests (tests/tools). This build
# cross-compiles, so it builds them as a sub-build of its own for the build
# machine (no toolchain file passed on: the host's compilers), every time it
# builds, and knows where their outputs lie:
#   varnel::screen-pattern, varnel::road-expect, varnel::png-pixels,
#   varnel::xinerama-heads
#     imported targets for $<TARGET_FILE:...>;
#   VARNEL_TEST_TOOLS_ENVIRONMENT
#     the tools' paths in the variables the scripts read
#     (VARNEL_SCREEN_PATTERN, VARNEL_ROAD_EXPECT, VARNEL_PNG_PIXELS,
#     VARNEL_XINERAMA), as an
#     ENVIRONMENT_MODIFICATION list: cmake/VarnelWineTests.cmake gives it
#     to every Windows test where the test is added.
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

set(VARNEL_TEST_TOOLS_ENVIRONMENT
    "VARNEL_SCREEN_PATTERN=set:$<TARGET_FILE:varnel::screen-pattern>"
    "VARNEL_ROAD_EXPECT=set:$<TARGET_FILE:varnel::road-expect>"
    "VARNEL_PNG_PIXELS=set:$<TARGET_FILE:varnel::png-pixels>"
    "VARNEL_XINERAMA=set:$<TARGET_FILE:varnel::xinerama-heads>")
