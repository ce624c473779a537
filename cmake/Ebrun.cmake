# Helpers shared by the subsystem folders.

# ebrun_library(NAME SOURCES... [DEPS libs...]): one static library per subsystem, included from the
# repository root ("foundation/Utils.h").
function(ebrun_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# ebrun_test(NAME SOURCES... [DEPS libs...]): one GoogleTest binary registered with CTest, test by test.
function(ebrun_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  find_package(GTest REQUIRED)
  include(GoogleTest)
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       PROPERTIES ENVIRONMENT "TZ=UTC" ENVIRONMENT_MODIFICATION "SDL_VIDEODRIVER=set:dummy")
endfunction()
