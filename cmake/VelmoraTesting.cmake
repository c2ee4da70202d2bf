# Headers nearly every test source includes, parsed once per test binary.
set(VELMORA_TEST_PRECOMPILED <gtest/gtest.h> <algorithm> <array> <cmath> <functional> <memory>
  <string> <vector>)

# velmora_test_build_options(<target> [<more precompiled headers...>])
# Test sources are compiled unoptimised in every build: optimising GoogleTest's
# macro expansions costs most of the test build, above all under the
# sanitizers, and buys nothing. The code under test keeps its build's flags.
function(velmora_test_build_options target)
  target_precompile_headers(${target} PRIVATE ${VELMORA_TEST_PRECOMPILED} ${ARGN})
  target_compile_options(${target} PRIVATE -O0)
endfunction()

# velmora_add_test_binary(<target> [<more headers...>]): a headless test
# binary, which the target "headless_tests" builds.
function(velmora_add_test_binary target)
  velmora_test_build_options(${target} ${ARGN})
  set_property(GLOBAL APPEND PROPERTY VELMORA_HEADLESS_TEST_TARGETS ${target})
endfunction()

# velmora_add_tests(<name> LIBRARIES <libs...> [FOLDERS <sub-folders...>])
# Builds every *Test.cpp of the calling folder (or, given FOLDERS, of those
# sub-folders, which then share the calling folder's helper headers) into one
# GoogleTest binary.
# Files named *RaceTest.cpp (threads racing each other) go into a second
# binary whose tests carry the label "tsan", so a ThreadSanitizer build can
# build (target "race_tests") and run just those.
function(velmora_add_tests name)
  cmake_parse_arguments(ARG "" "" "LIBRARIES;FOLDERS" ${ARGN})
  set(all_sources "")
  if(ARG_FOLDERS)
    foreach(folder ${ARG_FOLDERS})
      file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
      list(APPEND all_sources ${folder_sources})
    endforeach()
  else()
    file(GLOB all_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  set(plain_sources "")
  set(race_sources "")
  foreach(source ${all_sources})
    if(source MATCHES "RaceTest\\.cpp$")
      list(APPEND race_sources ${source})
    else()
      list(APPEND plain_sources ${source})
    endif()
  endforeach()

  if(plain_sources)
    add_executable(${name} ${plain_sources})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main GTest::gmock)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    velmora_add_test_binary(${name} <gmock/gmock.h>)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
  if(race_sources)
    find_package(Threads REQUIRED)
    add_executable(${name}_race ${race_sources})
    target_link_libraries(${name}_race PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main Threads::Threads)
    target_include_directories(${name}_race PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    velmora_add_test_binary(${name}_race)
    set_property(GLOBAL APPEND PROPERTY VELMORA_RACE_TEST_TARGETS ${name}_race)
    gtest_discover_tests(${name}_race DISCOVERY_TIMEOUT 60 PROPERTIES LABELS tsan)
  endif()
endfunction()

# velmora_add_benchmark(<name> LIBRARIES <libs...>): bench/<name>.cpp, run by hand.
function(velmora_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "LIBRARIES" ${ARGN})
  add_executable(${name} ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
  target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} benchmark::benchmark benchmark::benchmark_main)
endfunction()
