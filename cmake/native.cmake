# Linux: the portable core's unit tests, the data tools, the benchmarks.
find_package(GTest REQUIRED)

file(GLOB PELMORA_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${PELMORA_UNIT_TEST_SOURCES} ${CMAKE_SOURCE_DIR}/host/aircraft.cpp)
target_link_libraries(unit_tests PRIVATE pelmora_core GTest::gtest GTest::gtest_main)
add_test(NAME unit_tests COMMAND unit_tests)
# The Wine prefix cache's judgement of a half-made or damaged entry.
add_test(NAME prefix_cache COMMAND sh ${CMAKE_SOURCE_DIR}/tests/prefix_cache_test.sh)

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/CMakeLists.txt)
  add_subdirectory(tools)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
