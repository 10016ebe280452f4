# Cross-compiling for Windows with MinGW-w64, 64-bit: the same sources built so
# keep the code honest about pointer sizes.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QR_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
