# Reader benchmarks: generated large objects (make_objects), Google Benchmark over the
# readers from memory (readers_bench), and compare_readers.sh for whole runs (qrhost inspect)
# beside assimp.
add_library(qr_object_generator STATIC ${CMAKE_CURRENT_SOURCE_DIR}/object_generator.cpp)
target_include_directories(qr_object_generator PUBLIC ${PROJECT_SOURCE_DIR})

add_executable(make_objects ${CMAKE_CURRENT_SOURCE_DIR}/make_objects.cpp)
target_link_libraries(make_objects PRIVATE qr_object_generator)

add_executable(readers_bench ${CMAKE_CURRENT_SOURCE_DIR}/readers_bench.cpp)
target_link_libraries(readers_bench PRIVATE karvel_reader qr_object_generator benchmark::benchmark)

