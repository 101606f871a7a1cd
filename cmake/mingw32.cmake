# 32-bit Windows programs with mingw-w64 (Debian: mingw-w64), for the handset maker's own
# libraries, which are 32-bit.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MIVO_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
