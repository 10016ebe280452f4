# The DXF writer against a plain formatting loop writing the same kind of file.
add_executable(export_bench ${CMAKE_CURRENT_LIST_DIR}/export_bench.cpp)
target_link_libraries(export_bench PRIVATE brask_export_lib benchmark::benchmark)
