# How a Windows test is added, so that CTest can run several at once
# (`ctest -j N` inside scripts/wine-slots.sh, as scripts/test.sh does).
#
# A test either runs in a slot: one of N private Wine sessions (display and
# prefix) that scripts/wine-slots.sh keeps, given to one test at a time
# through the CTest resource "session"; or it starts a session of its own
# (scripts/wine-session.sh, scripts/wine10-run.sh) and then holds the lock
# named after its prefix, since two sessions must never share a prefix.
# What must not run beside one another shares one more lock:
#   timing   the suites that measure how long the screen takes to settle,
#            or race a countdown: they also run alone (RUN_SERIAL), as a
#            busy machine's delays are what they measure (each failed with
#            two tests beside it on a loaded machine, and passed alone);
#   e2e-road the folders that both end-to-end roads write (build/win/e2e-*).
#
# Every Windows test gets the native test tools' paths
# (VARNEL_TEST_TOOLS_ENVIRONMENT, cmake/VarnelTestTools.cmake) here, where
# it is added, as an ENVIRONMENT_MODIFICATION of its own: CTest shows them
# with the test, and a test's own ENVIRONMENT cannot replace them.
#
#   varnel_wine_test(NAME name [IN_SLOT] [LOCK lock...] COMMAND command...)
#     a test of scripts or of a filtered test program; other properties
#     (labels, pass expressions, ENVIRONMENT) are set afterwards as usual.
#   varnel_wine_test_cases(target LABEL label [TEST_FILTER filter])
#     every case of a test program, each a test of its own, in a slot.

set(VARNEL_IN_WINE_SLOT ${PROJECT_SOURCE_DIR}/scripts/in-wine-slot.sh)

function(varnel_wine_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "IN_SLOT" "NAME" "LOCK;COMMAND")
  if(NOT arg_NAME OR NOT arg_COMMAND OR arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "varnel_wine_test(NAME name [IN_SLOT] [LOCK lock...] COMMAND ...): "
                        "'${arg_NAME}' ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(arg_IN_SLOT)
    add_test(NAME ${arg_NAME} COMMAND ${VARNEL_IN_WINE_SLOT} ${arg_COMMAND})
    set_property(TEST ${arg_NAME} PROPERTY RESOURCE_GROUPS session:1)
  else()
    add_test(NAME ${arg_NAME} COMMAND ${arg_COMMAND})
    # A session of its own takes a prefix set-up and a whole suite: such a
    # test starts first, so that the short ones fill the time around it
    # (CTest knows no times on a first run).
    set_property(TEST ${arg_NAME} PROPERTY COST 1000)
  endif()
  set_property(TEST ${arg_NAME} PROPERTY ENVIRONMENT_MODIFICATION ${VARNEL_TEST_TOOLS_ENVIRONMENT})
  if(arg_LOCK)
    set_property(TEST ${arg_NAME} PROPERTY RESOURCE_LOCK ${arg_LOCK})
  endif()
  if(timing IN_LIST arg_LOCK)
    set_property(TEST ${arg_NAME} PROPERTY RUN_SERIAL TRUE)
  endif()
endfunction()

function(varnel_wine_test_cases target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "LABEL;TEST_FILTER" "")
  set(filter)
  if(arg_TEST_FILTER)
    set(filter TEST_FILTER ${arg_TEST_FILTER})
  endif()
  # Both the listing of the cases (in CTest's own session) and every case
  # (in its slot) go through the slot script.
  set_property(TARGET ${target} PROPERTY CROSSCOMPILING_EMULATOR ${VARNEL_IN_WINE_SLOT}
                                                                  ${CMAKE_CROSSCOMPILING_EMULATOR})
  # Listing starts Wine, which takes far longer than the default 5 s while
  # other sessions start beside it: a timeout there stops the whole run.
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST ${filter} TEST_LIST ${target}_CASES
                       DISCOVERY_TIMEOUT 120
                       PROPERTIES LABELS ${arg_LABEL} RESOURCE_GROUPS session:1)
  # The cases are known only when CTest lists them: a script CTest reads
  # after the listing gives them the tools' paths (a list, which the
  # listing's own PROPERTIES cannot carry).
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}_environment.cmake
       CONTENT "if(${target}_CASES)
  set_tests_properties(\${${target}_CASES} PROPERTIES ENVIRONMENT_MODIFICATION [==[${VARNEL_TEST_TOOLS_ENVIRONMENT}]==])
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
               ${CMAKE_CURRENT_BINARY_DIR}/${target}_environment.cmake)
endfunction()
