# What both Windows toolchains share: Debian's MinGW-w64 (package mingw-w64),
# for the triplet the including file sets in QR_MINGW_TRIPLET.
set(CMAKE_SYSTEM_NAME Windows)

# The -posix variants: with the win32 ones the C++ runtime has no std::thread
# or std::mutex. Their pthread library is linked statically like the rest.
set(CMAKE_C_COMPILER ${QR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QR_MINGW_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${QR_MINGW_TRIPLET}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${QR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
