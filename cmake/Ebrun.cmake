# Helpers shared by the subsystem folders.

# ebrun_library(NAME SOURCES... [DEPS libs...]): one static library per subsystem, included from the
# repository root ("foundation/Utils.h").
function(ebrun_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# ebrun_discover_tests(TARGET [gtest_discover_tests options...]), below tests/: registers each case of a
# GoogleTest binary with CTest, listed when CTest starts. A listing may take its time on a loaded machine under
# the sanitizers; one that fails or times out stops CTest with an error, never leaves the cases out silently.
function(ebrun_discover_tests target)
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120 ${ARGN})
endfunction()

# ebrun_tier_tests(NAME TARGET), below tests/: the GoogleTest binary TARGET run on the offscreen driver once per
# tier of the pixel loops, as NAME/plain and NAME/avx2 (the cases whose parameter names the tier, ".../avx2" or
# "..._avx2"); a tier the processor lacks runs no case and is reported as skipped. Mesa's and the renderer's
# libraries keep small allocations past their unloading, so leaks are left to the other tests.
function(ebrun_tier_tests name target)
  add_test(NAME ${name}/plain COMMAND ${target} --gtest_filter=-*/avx2:*_avx2)
  add_test(NAME ${name}/avx2 COMMAND ${target} --gtest_filter=*/avx2:*_avx2)
  foreach(tier plain avx2)
    set_tests_properties(${name}/${tier} PROPERTIES
                         ENVIRONMENT "SDL_VIDEODRIVER=offscreen;TZ=UTC;ASAN_OPTIONS=detect_leaks=0:abort_on_error=1"
                         SKIP_REGULAR_EXPRESSION "\\[==========\\] 0 tests from" TIMEOUT 180)
  endforeach()
endfunction()

# ebrun_test(NAME SOURCES... [DEPS libs...]): one GoogleTest binary registered with CTest, test by test.
function(ebrun_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  ebrun_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       PROPERTIES ENVIRONMENT "TZ=UTC" ENVIRONMENT_MODIFICATION "SDL_VIDEODRIVER=set:dummy")
endfunction()
