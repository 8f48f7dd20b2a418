# The portable core: the import table, the data-file reader, the searches
# and the quick-pick list's order, the tuning and presets, the sample
# gauges' callbacks.  No Windows headers.
# The module links it; so do the unit tests, the data tools, the benchmarks
# and, in a build of their own with fuzzer flags, the fuzz targets, which
# include this file too.
cmake_path(GET CMAKE_CURRENT_LIST_DIR PARENT_PATH PELMORA_CORE_ROOT)

# pelmora_core_library(NAME): one static library of the core.
function(pelmora_core_library name)
  add_library(${name} STATIC
    ${PELMORA_CORE_ROOT}/module/interface/imports.cpp
    ${PELMORA_CORE_ROOT}/module/interface/text_format.cpp
    ${PELMORA_CORE_ROOT}/selection/facility_file.cpp
    ${PELMORA_CORE_ROOT}/selection/list_order.cpp
    ${PELMORA_CORE_ROOT}/selection/searches.cpp
    ${PELMORA_CORE_ROOT}/selection/tuning.cpp
    ${PELMORA_CORE_ROOT}/gauges/callbacks.cpp)
  target_include_directories(${name} PUBLIC ${PELMORA_CORE_ROOT})
endfunction()
