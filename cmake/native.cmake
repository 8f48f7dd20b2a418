# Linux: the portable core's unit tests, the data tools, the benchmarks.
find_package(GTest REQUIRED)

file(GLOB PELMORA_UNIT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${PELMORA_UNIT_TEST_SOURCES})
target_link_libraries(unit_tests PRIVATE pelmora_core GTest::gtest GTest::gtest_main)
add_test(NAME unit_tests COMMAND unit_tests)
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/host ${CMAKE_BINARY_DIR}/tests/host)

if(EXISTS ${CMAKE_SOURCE_DIR}/tools/CMakeLists.txt)
  add_subdirectory(tools)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
