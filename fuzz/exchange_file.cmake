# Reads arbitrary bytes as an exchange file and writes what it read back.
qr_add_fuzzer(exchange_file_fuzzer
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/exchange_file_fuzzer.cpp
  LIBS qrscene qrplatform
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/exchange_file
  DICT ${CMAKE_CURRENT_SOURCE_DIR}/exchange_file.dict)
