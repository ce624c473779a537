# Helpers shared by the subsystem folders.

# ebrun_library(NAME SOURCES... [DEPS libs...]): one static library per subsystem, included from the
# repository root ("foundation/Utils.h").
function(ebrun_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# The environment changes (ENVIRONMENT_MODIFICATION) of every test outside tests/isolated, so that no test
# depends on the desktop it is started from or opens a window there: SDL on DRIVER, a video driver that shows no
# window (dummy unless given; offscreen for real GL contexts); no X or Wayland display, nor the runtime directory
# where SDL's Wayland driver finds a display without one; bus addresses that libdbus refuses at once, so that
# SDL's start neither reaches the caller's session or system bus nor autolaunches a session bus over X.
function(ebrun_headless_environment out driver)
  if(NOT driver)
    set(driver dummy)
  endif()
  set(${out} "SDL_VIDEODRIVER=set:${driver}" DISPLAY=unset: WAYLAND_DISPLAY=unset: XDG_RUNTIME_DIR=unset:
      DBUS_SESSION_BUS_ADDRESS=set:disabled: DBUS_SYSTEM_BUS_ADDRESS=set:disabled: PARENT_SCOPE)
endfunction()

# ebrun_headless(TEST... [DRIVER offscreen]): puts tests of this directory, registered with add_test, on the
# headless environment above.
function(ebrun_headless)
  cmake_parse_arguments(ARG "" "DRIVER" "" ${ARGN})
  ebrun_headless_environment(environment "${ARG_DRIVER}")
  set_tests_properties(${ARG_UNPARSED_ARGUMENTS} PROPERTIES ENVIRONMENT_MODIFICATION "${environment}")
endfunction()

# ebrun_discover_tests(TARGET [DRIVER offscreen] [gtest_discover_tests options...]), below tests/: registers
# each case of a GoogleTest binary with CTest, listed when CTest starts, on the headless environment above. A
# listing may take its time on a loaded machine under the sanitizers; one that fails or times out stops CTest
# with an error, never leaves the cases out silently. The cases exist only in CTest, so their environment is
# set there, by a file CTest reads after the listing; gtest_discover_tests' PROPERTIES would split its list.
function(ebrun_discover_tests target)
  cmake_parse_arguments(ARG "" "DRIVER" "" ${ARGN})
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 TEST_LIST ${target}_TESTS
                       ${ARG_UNPARSED_ARGUMENTS})
  ebrun_headless_environment(environment "${ARG_DRIVER}")
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${target}_headless.cmake)
  file(WRITE ${script} "if(${target}_TESTS)\n"
       "  set_tests_properties(\${${target}_TESTS} PROPERTIES ENVIRONMENT_MODIFICATION [==[${environment}]==])\n"
       "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()

# ebrun_tier_tests(NAME TARGET), below tests/: the GoogleTest binary TARGET run on the offscreen driver once per
# tier of the pixel loops, as NAME/plain and NAME/avx2 (the cases whose parameter names the tier, ".../avx2" or
# "..._avx2"); a tier the processor lacks runs no case and is reported as skipped. Mesa's and the renderer's
# libraries keep small allocations past their unloading, so leaks are left to the other tests.
function(ebrun_tier_tests name target)
  add_test(NAME ${name}/plain COMMAND ${target} --gtest_filter=-*/avx2:*_avx2)
  add_test(NAME ${name}/avx2 COMMAND ${target} --gtest_filter=*/avx2:*_avx2)
  set_tests_properties(${name}/plain ${name}/avx2 PROPERTIES
                       ENVIRONMENT "TZ=UTC;ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"
                       SKIP_REGULAR_EXPRESSION "\\[==========\\] 0 tests from" TIMEOUT 180)
  ebrun_headless(${name}/plain ${name}/avx2 DRIVER offscreen)
endfunction()

# ebrun_test(NAME SOURCES... [DEPS libs...]): one GoogleTest binary registered with CTest, test by test.
function(ebrun_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  ebrun_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} PROPERTIES ENVIRONMENT "TZ=UTC")
endfunction()
