# The LightWave object reader, every form, from memory.
qr_add_fuzzer(lwo_reader
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/lwo_reader_fuzz.cpp
  LIBS karvel_reader
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/lwo_reader
  DICT ${CMAKE_CURRENT_SOURCE_DIR}/lwo.dict)
