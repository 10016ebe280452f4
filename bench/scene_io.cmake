# Exchange file read and write speed on a scene of 1,000,000 points and
# 1,000,000 triangles; run under /usr/bin/time -v for the peak memory.
add_executable(scene_io_bench ${CMAKE_CURRENT_SOURCE_DIR}/scene_io_bench.cpp)
target_link_libraries(scene_io_bench PRIVATE qrscene qrplatform benchmark::benchmark)
