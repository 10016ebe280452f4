# The whole import command (read the scene, load the object, merge, write the scene back).
add_executable(import_bench ${CMAKE_CURRENT_SOURCE_DIR}/import_bench.cpp)
target_link_libraries(import_bench PRIVATE karvel_command qr_object_generator benchmark::benchmark)
