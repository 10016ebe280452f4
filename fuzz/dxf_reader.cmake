# The DXF reader from memory.
qr_add_fuzzer(dxf_reader
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/dxf_reader_fuzz.cpp
  LIBS karvel_reader
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/dxf_reader
  DICT ${CMAKE_CURRENT_SOURCE_DIR}/dxf.dict)
