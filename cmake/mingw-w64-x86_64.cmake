# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (gcc 12, posix
# threads, which Qt's std::thread and std::mutex use). Used both to build the
# static Qt that the Windows build links (scripts/windows-qt.sh) and, chained by
# that Qt's qt-cmake, to build kvet itself (scripts/build-windows.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(KVET_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KVET_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KVET_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KVET_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${KVET_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${KVET_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

# Libraries and headers come from the mingw-w64 sysroot (and from the prefixes
# Qt adds), never from the Linux host; programs such as moc come from the host.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${KVET_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
