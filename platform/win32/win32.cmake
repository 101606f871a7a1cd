# The Windows build (included by the top-level CMakeLists.txt for a Windows target only):
# MivoRun.exe on the Win32 platform, with its resources, and the Win32 platform's tests.
# Sources are listed one by one.
enable_language(RC)

option(MIVO_LIBRARY_STDCALL
  "Call the handset library and the VoIP bridge with __stdcall (default: __cdecl)" OFF)
option(MIVO_TESTS_REQUIRED "Fail the configuration when the tests cannot be built" OFF)

# Sections aligned to whole pages in the file, so that a loader can map every program and
# library straight from its file. Wine copies an image whose sections are not into private
# memory, debugging information included: megabytes of committed memory per process.
add_link_options(-Wl,--file-alignment=4096)

set(MIVO_WIN32_DIR ${PROJECT_SOURCE_DIR}/platform/win32)

# The Win32 platform: window system, clock, mixer, system services, files, and the two
# libraries loaded by name.
add_library(mivo_win32 STATIC
  ${MIVO_WIN32_DIR}/win32_clock.cpp
  ${MIVO_WIN32_DIR}/win32_files.cpp
  ${MIVO_WIN32_DIR}/win32_handset.cpp
  ${MIVO_WIN32_DIR}/win32_library.cpp
  ${MIVO_WIN32_DIR}/win32_mixer.cpp
  ${MIVO_WIN32_DIR}/win32_system.cpp
  ${MIVO_WIN32_DIR}/win32_voip_bridge.cpp
  ${MIVO_WIN32_DIR}/win32_window.cpp
  ${MIVO_WIN32_DIR}/win32_window_dialogs.cpp)
target_link_libraries(mivo_win32 PUBLIC mivo_core winmm comctl32)
target_compile_definitions(mivo_win32 PUBLIC
  MIVO_LIBRARY_STDCALL=$<IF:$<BOOL:${MIVO_LIBRARY_STDCALL}>,1,0>)

# The resources: dialog templates, menu, icons, bitmaps, version information, manifest.
set(MIVO_RESOURCES ${PROJECT_SOURCE_DIR}/res/mivorun.rc)
set_property(SOURCE ${MIVO_RESOURCES} APPEND PROPERTY OBJECT_DEPENDS
  ${PROJECT_SOURCE_DIR}/res/mivorun.manifest
  ${PROJECT_SOURCE_DIR}/res/pictures/mivorun.ico
  ${PROJECT_SOURCE_DIR}/res/pictures/ready.ico
  ${PROJECT_SOURCE_DIR}/res/pictures/not_ready.ico
  ${PROJECT_SOURCE_DIR}/res/pictures/product.bmp
  ${PROJECT_SOURCE_DIR}/res/pictures/ok.bmp
  ${PROJECT_BINARY_DIR}/generated/mivorun_version.h)

add_executable(MivoRun WIN32 ${MIVO_WIN32_DIR}/main.cpp ${MIVO_RESOURCES})
target_include_directories(MivoRun PRIVATE ${PROJECT_SOURCE_DIR}/res)
target_link_libraries(MivoRun PRIVATE mivo_win32 mivo_trace mivo_version)
set_target_properties(MivoRun PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The shipped texts and settings beside the program, and the stand-ins' demo world: the
# simulator's demo world, whose PC lines the stand-ins pass over.
add_custom_command(TARGET MivoRun POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
          ${PROJECT_SOURCE_DIR}/res/lang.ini ${PROJECT_SOURCE_DIR}/res/setup.ini
          ${CMAKE_BINARY_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different
          ${PROJECT_SOURCE_DIR}/res/demo_world.scn ${CMAKE_BINARY_DIR}/world.scn)

# The devices of the simulated platform, for the stand-in libraries: the handset and VoIP
# client models, the world and script line parsers and the event lines (all portable code).
set(MIVO_SIM_DIR ${PROJECT_SOURCE_DIR}/platform/sim)
add_library(mivo_devices STATIC
  ${MIVO_SIM_DIR}/event_lines.cpp
  ${MIVO_SIM_DIR}/script_parser.cpp
  ${MIVO_SIM_DIR}/sim_handset.cpp
  ${MIVO_SIM_DIR}/sim_voip_blocks.cpp
  ${MIVO_SIM_DIR}/sim_voip_client.cpp
  ${MIVO_SIM_DIR}/world_script.cpp)
target_link_libraries(mivo_devices PUBLIC mivo_trace mivo_core)

# The stand-ins' side of the remote channel and their common parts.
set(MIVO_STANDINS_DIR ${PROJECT_SOURCE_DIR}/platform/standins)
add_library(mivo_standins STATIC
  ${MIVO_STANDINS_DIR}/endpoint.cpp
  ${MIVO_STANDINS_DIR}/remote_channel.cpp
  ${MIVO_STANDINS_DIR}/script_lines.cpp
  ${MIVO_STANDINS_DIR}/window_port.cpp
  ${MIVO_STANDINS_DIR}/world_loader.cpp)
target_link_libraries(mivo_standins PUBLIC mivo_devices)
target_compile_definitions(mivo_standins PUBLIC
  MIVO_LIBRARY_STDCALL=$<IF:$<BOOL:${MIVO_LIBRARY_STDCALL}>,1,0>)

# Our stand-ins for the handset library and the VoIP bridge, beside MivoRun.exe under the
# libraries' own file names, exporting the plain function names whatever the calling
# convention (--kill-at drops the @N of __stdcall names).
function(mivo_standin_library target output)
  add_library(${target} SHARED ${ARGN})
  target_link_libraries(${target} PRIVATE mivo_standins)
  target_link_options(${target} PRIVATE -Wl,--kill-at)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${output}
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()
# The virtual handset's window (LCD, LEDs, keypad, far-end panel), for the library and its
# tests.
add_library(mivo_handset_window STATIC
  ${MIVO_STANDINS_DIR}/client_line.cpp
  ${MIVO_STANDINS_DIR}/far_end_panel.cpp
  ${MIVO_STANDINS_DIR}/handset_window.cpp
  ${MIVO_STANDINS_DIR}/keypad.cpp
  ${MIVO_STANDINS_DIR}/lcd_painter.cpp)
target_link_libraries(mivo_handset_window PUBLIC mivo_standins gdi32)
mivo_standin_library(mivo_usbphone UsbPhone_Q5
  ${MIVO_STANDINS_DIR}/handset_exports.cpp
  ${MIVO_STANDINS_DIR}/handset_standin.cpp)
target_link_libraries(mivo_usbphone PRIVATE mivo_handset_window)
mivo_standin_library(mivo_callbridge CallBridge
  ${MIVO_STANDINS_DIR}/client_exports.cpp
  ${MIVO_STANDINS_DIR}/client_standin.cpp)
# Building the program builds the libraries it loads.
add_dependencies(MivoRun mivo_usbphone mivo_callbridge)

include(${PROJECT_SOURCE_DIR}/platform/win32/remote/remote.cmake)

# The installer and the portable .zip (cpack in the build folder).
include(${PROJECT_SOURCE_DIR}/cmake/windows_package.cmake)

# The Windows benchmark programs and the probe that tools/bench-windows runs under Wine.
add_subdirectory(${PROJECT_SOURCE_DIR}/bench/win32 ${CMAKE_BINARY_DIR}/bench-win32)

# The Win32 platform's tests, built with GoogleTest from its sources (Debian: googletest) and
# run under Wine on Linux.
if(MIVO_TESTS)
  set(MIVO_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
  if(EXISTS ${MIVO_GTEST_SOURCE_DIR}/CMakeLists.txt)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${MIVO_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # GoogleTest's own code is not held to our warning rules.
    target_compile_options(gtest PRIVATE -Wno-error)
    enable_testing()
    add_subdirectory(${PROJECT_SOURCE_DIR}/tests/win32 ${CMAKE_BINARY_DIR}/tests-win32)
  elseif(MIVO_TESTS_REQUIRED)
    message(FATAL_ERROR "GoogleTest sources not found in ${MIVO_GTEST_SOURCE_DIR} (Debian: googletest)")
  else()
    message(STATUS "GoogleTest sources not found: the Windows tests are not built")
  endif()
endif()
