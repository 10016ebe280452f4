# Cross-compiling for Windows with MinGW-w64. The deliverables are 32-bit, as the host is.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QR_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

# Doubles computed in SSE2 registers, as on x86-64: the x87 unit's wider
# registers would round the derived geometry differently in its last bit, and
# the exchange file must come out as the Linux build writes it. (Every CPU
# that runs a supported Windows has SSE2.)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
