# Windows builds: the module, the host stand-in, and the tests run under Wine.
enable_language(RC)

# Nothing but system DLLs at run time: the C++ runtime is linked in.
set(PELMORA_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

file(GLOB PELMORA_GAUGE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/gauges/*_gauges.cpp)
set(PELMORA_MODULE_SOURCES
  ${CMAKE_SOURCE_DIR}/module/linkage.cpp
  ${PELMORA_GAUGE_SOURCES}
  ${CMAKE_SOURCE_DIR}/selection/launcher.cpp
  ${CMAKE_SOURCE_DIR}/selection/dialog.cpp
  ${CMAKE_SOURCE_DIR}/module/pelmora.def
)

# module_target(NAME OUTPUT_NAME [rc definitions...]): one build of the module.
function(module_target name output)
  add_library(${name} SHARED ${PELMORA_MODULE_SOURCES} ${CMAKE_SOURCE_DIR}/resources/pelmora.rc)
  target_link_libraries(${name} PRIVATE pelmora_core user32 kernel32)
  target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:CXX>:${PELMORA_MODULE_FLAGS}>)
  target_compile_definitions(${name} PRIVATE ${ARGN})
  target_link_options(${name} PRIVATE ${PELMORA_STATIC_RUNTIME})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${output} SUFFIX ".GAU")
endfunction()

target_compile_options(pelmora_core PRIVATE ${PELMORA_MODULE_FLAGS})

module_target(pelmora_module PELMORA)
# A build without the dialog template, for the test of the creation error.
module_target(pelmora_module_no_dialog PELMORA_NO_DIALOG PELMORA_WITHOUT_DIALOG)

if(EXISTS ${CMAKE_SOURCE_DIR}/host/CMakeLists.txt)
  add_subdirectory(host)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tests/CMakeLists.txt)
  add_subdirectory(tests)
endif()
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/CMakeLists.txt)
  add_subdirectory(tools)
endif()
