# Cross-compiling for 32-bit Windows with Debian's mingw-w64 (posix threads, so the full C++ thread
# support is there); everything links statically, so the DLL needs nothing beyond Windows itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TEZLO_MINGW_TRIPLE i686-w64-mingw32)

set(CMAKE_C_COMPILER ${TEZLO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TEZLO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TEZLO_MINGW_TRIPLE}-windres)
set(TEZLO_WIDL ${TEZLO_MINGW_TRIPLE}-widl)

set(CMAKE_FIND_ROOT_PATH /usr/${TEZLO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
