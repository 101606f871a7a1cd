# Shared part of the mingw-w64 toolchain files: MIVO_MINGW_TRIPLE names the target.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: GoogleTest needs std::mutex and std::thread.
set(CMAKE_C_COMPILER ${MIVO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MIVO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MIVO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MIVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program and library runs without a DLL of the toolchain: the C and C++ runtimes and
# the thread library are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under Wine on a Linux build machine (test discovery included).
if(CMAKE_HOST_UNIX)
  find_program(MIVO_WINE wine)
  if(MIVO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${MIVO_WINE})
  endif()
endif()
