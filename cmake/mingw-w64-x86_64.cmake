# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix-threads compilers, which
# have std::thread and std::mutex). Used by `make windows`; the libraries the Windows build needs
# beyond the system's are cross-built by scripts/setup-windows.sh into ZXP_WIN_DEPS.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZXP_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZXP_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZXP_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZXP_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${ZXP_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${ZXP_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")
if(NOT ZXP_WIN_DEPS)
  set(ZXP_WIN_DEPS "$ENV{ZXP_WIN_DEPS}")
endif()
set(CMAKE_FIND_ROOT_PATH /usr/${ZXP_MINGW_TRIPLE} ${ZXP_WIN_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs run by the build or by ctest (the tests) go through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
