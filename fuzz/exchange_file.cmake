# Reads arbitrary bytes as an exchange file, writes what it read back and exports it both ways.
qr_add_fuzzer(exchange_file_fuzzer
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/exchange_file_fuzzer.cpp
  LIBS brask_export_lib qrscene qrplatform
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/exchange_file
  DICT ${CMAKE_CURRENT_SOURCE_DIR}/exchange_file.dict)
