# Windows builds: the module, the host stand-in, and the tests run under Wine.
enable_language(RC)

# A link map beside every program and module (NAME.map, after the file's
# name): the static checks name a function by it where the file's symbol
# table does not (a library built without its local symbols).
add_link_options(
  "-Wl,-Map,$<IF:$<BOOL:$<TARGET_PROPERTY:OUTPUT_NAME>>,$<TARGET_PROPERTY:OUTPUT_NAME>,$<TARGET_PROPERTY:NAME>>.map")

# Nothing but system DLLs at run time: the C++ runtime is linked in.
set(PELMORA_STATIC_RUNTIME -static -static-libgcc -static-libstdc++)

file(GLOB PELMORA_GAUGE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/gauges/*_gauges.cpp)
set(PELMORA_MODULE_SOURCES
  ${CMAKE_SOURCE_DIR}/module/dll_entry.cpp
  ${CMAKE_SOURCE_DIR}/module/linkage.cpp
  ${PELMORA_GAUGE_SOURCES}
  ${CMAKE_SOURCE_DIR}/selection/launcher.cpp
  ${CMAKE_SOURCE_DIR}/selection/dialog.cpp
  ${CMAKE_SOURCE_DIR}/selection/quick_pick_fill.cpp
  ${CMAKE_SOURCE_DIR}/module/pelmora.def
)

# The module links no start-up code and no runtime library of the compiler
# (its entry point is module/dll_entry.cpp): only the system's DLLs, and
# libgcc for what the compiler itself calls (the stack probe of a large
# frame).  Its C runtime is the system's DLL: CRTDLL.DLL on 32-bit Windows,
# which every Windows 95 and NT has; the 64-bit test build, for which the
# toolchain has no CRTDLL import library, takes msvcrt.dll.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(PELMORA_MODULE_C_RUNTIME crtdll)
else()
  set(PELMORA_MODULE_C_RUNTIME msvcrt)
endif()
# Its code: no unwind tables (nothing unwinds through it), every function
# in a section of its own, so that the link keeps only what the
# module reaches and the link map names every function, static ones too
# (the file itself is stripped of its symbols; the static check of the
# instructions names functions by the map).
set(PELMORA_MODULE_CODE_FLAGS -fno-asynchronous-unwind-tables -fno-unwind-tables
  -ffunction-sections)
set(PELMORA_MODULE_CXX_FLAGS ${PELMORA_MODULE_FLAGS} ${PELMORA_MODULE_CODE_FLAGS})
set(PELMORA_MODULE_LINK_FLAGS -nostdlib -s -Wl,--gc-sections)

# The portable core as the module links it: the same sources, with the
# module's code flags (the tools and tests link pelmora_core).
pelmora_core_library(pelmora_module_core)
target_compile_options(pelmora_module_core PRIVATE ${PELMORA_MODULE_CXX_FLAGS})

# module_target(NAME OUTPUT_NAME CORE [definitions...]): one build of the module.
function(module_target name output core)
  add_library(${name} SHARED ${PELMORA_MODULE_SOURCES} ${CMAKE_SOURCE_DIR}/resources/pelmora.rc)
  target_link_libraries(${name} PRIVATE ${core} user32 kernel32 ${PELMORA_MODULE_C_RUNTIME} gcc)
  target_compile_options(${name} PRIVATE "$<$<COMPILE_LANGUAGE:CXX>:${PELMORA_MODULE_CXX_FLAGS}>")
  target_compile_definitions(${name} PRIVATE ${ARGN})
  target_link_options(${name} PRIVATE ${PELMORA_MODULE_LINK_FLAGS})
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${output} SUFFIX ".GAU")
endfunction()

target_compile_options(pelmora_core PRIVATE ${PELMORA_MODULE_FLAGS})

module_target(pelmora_module PELMORA pelmora_module_core)
# A build without the dialog template, for the test of the creation error.
module_target(pelmora_module_no_dialog PELMORA_NO_DIALOG pelmora_module_core PELMORA_WITHOUT_DIALOG)
# A build that finds no GetComboBoxInfo, as on Windows 95 and NT 4.0.
module_target(pelmora_module_no_combo_box_info PELMORA_NO_COMBO_BOX_INFO pelmora_module_core
  PELMORA_WITHOUT_COMBO_BOX_INFO)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  # A module whose routines use the wrong calling convention: the 32-bit run
  # must fail with it.  Never shipped.
  pelmora_core_library(pelmora_core_wrong_convention)
  target_compile_definitions(pelmora_core_wrong_convention PUBLIC PELMORA_WRONG_CALLING_CONVENTION)
  target_compile_options(pelmora_core_wrong_convention PRIVATE ${PELMORA_MODULE_CXX_FLAGS})
  module_target(pelmora_module_wrong_convention PELMORA_WRONG_CONVENTION
    pelmora_core_wrong_convention PELMORA_WRONG_CALLING_CONVENTION)
endif()

add_subdirectory(host)
add_subdirectory(tests)
add_subdirectory(tools)
add_subdirectory(setup)
