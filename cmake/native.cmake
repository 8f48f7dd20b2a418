# Linux: the portable core's unit tests, the data tools, the benchmarks.
find_package(GTest REQUIRED)

add_subdirectory(tests)
add_subdirectory(tools)
add_subdirectory(bench)
