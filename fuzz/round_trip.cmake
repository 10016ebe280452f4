# The whole chain: object bytes, import command, exchange file, export, DXF read back.
qr_add_fuzzer(round_trip
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/round_trip_fuzz.cpp
  LIBS karvel_command brask_export_lib
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/round_trip
  DICT ${CMAKE_CURRENT_SOURCE_DIR}/dxf.dict ${CMAKE_CURRENT_SOURCE_DIR}/lwo.dict)
