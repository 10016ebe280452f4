# Whole-job references for bench/whole_jobs.sh: the plain reader and writer floors, the
# exchange file in a fresh process, and assimp's ReadFile as a peer reader.
add_executable(plain_dxf_reader ${CMAKE_CURRENT_LIST_DIR}/reference/plain_dxf_reader.cpp)
add_executable(plain_dxf_writer ${CMAKE_CURRENT_LIST_DIR}/reference/plain_dxf_writer.cpp)
target_link_libraries(plain_dxf_writer PRIVATE qrscene qrplatform)
add_executable(exchange_io ${CMAKE_CURRENT_LIST_DIR}/reference/exchange_io.cpp)
target_link_libraries(exchange_io PRIVATE qrscene qrplatform)
find_package(assimp QUIET)
if(assimp_FOUND)
  add_executable(assimp_read ${CMAKE_CURRENT_LIST_DIR}/reference/assimp_read.cpp)
  target_link_libraries(assimp_read PRIVATE assimp::assimp)
else()
  message(STATUS "libassimp-dev not found: assimp_read (a benchmark peer) is not built")
endif()
