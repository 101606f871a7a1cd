# mivorun-remote.exe: the console tool that drives a running MivoRun.exe through the
# stand-ins' endpoints (included by platform/win32/win32.cmake, after the stand-ins).
set(MIVO_REMOTE_DIR ${PROJECT_SOURCE_DIR}/platform/win32/remote)

# The remote's line checks, portable: the program and the Windows tests share them.
add_library(mivo_remote_lines STATIC ${MIVO_REMOTE_DIR}/remote_lines.cpp)
target_link_libraries(mivo_remote_lines PUBLIC mivo_devices)

add_executable(mivorun-remote
  ${MIVO_REMOTE_DIR}/remote_main.cpp
  ${MIVO_REMOTE_DIR}/remote_program.cpp)
target_link_libraries(mivorun-remote PRIVATE mivo_remote_lines mivo_standins)
set_target_properties(mivorun-remote PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
