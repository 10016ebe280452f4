# Binary DXF to text, and the text then read as the DXF reader reads it.
qr_add_fuzzer(dxf_binary
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/dxf_binary_fuzz.cpp
  LIBS karvel_reader
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/dxf_binary
  DICT ${CMAKE_CURRENT_SOURCE_DIR}/dxf_binary.dict)
