# Cross-compiling for Windows with Debian's MinGW-w64 (package mingw-w64).
# The deliverables are 32-bit, as the host is.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QR_MINGW_TRIPLET i686-w64-mingw32)

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

# Doubles computed in SSE2 registers, as on x86-64: the x87 unit's wider
# registers would round the derived geometry differently in its last bit, and
# the exchange file must come out as the Linux build writes it. (Every CPU
# that runs a supported Windows has SSE2.)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
