# The INI profile reader over any bytes, and what its writer writes read back.
qr_add_fuzzer(ini_profile
  SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/ini_profile_fuzz.cpp
  LIBS qrplatform
  SEEDS ${CMAKE_CURRENT_SOURCE_DIR}/seeds/ini_profile
  DICT ${CMAKE_CURRENT_SOURCE_DIR}/ini.dict)
