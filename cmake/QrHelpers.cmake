# qr_add_plugin(NAME SOURCES...): a plug-in module NAME.so that exports only
# ExecutePlugin (and its version text); everything else stays hidden.
function(qr_add_plugin name)
  add_library(${name} MODULE ${ARGN})
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/plugin.map)
  target_link_options(${name} PRIVATE -Wl,--version-script=${PROJECT_SOURCE_DIR}/cmake/plugin.map)
  # A symbol missing at link time would otherwise show only when the host loads
  # the module. Sanitizer runtimes are resolved by the executable, so not there.
  if(NOT QR_SANITIZE)
    target_link_options(${name} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()

# qr_add_gtest(NAME SOURCES... LIBS libs...): one GoogleTest executable,
# its tests registered with CTest one by one.
function(qr_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    QR_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QR_BINARY_DIR="${CMAKE_BINARY_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# qr_add_fuzzer(NAME SOURCES... LIBS libs... SEEDS dir): a libFuzzer target and
# a bounded CTest run of it over a copy of its seeds (the run may add inputs).
set(QR_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs in the test suite")
function(qr_add_fuzzer name)
  cmake_parse_arguments(F "" "SEEDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set(work ${CMAKE_BINARY_DIR}/fuzz-work/${name})
  add_test(NAME fuzz.${name}
    COMMAND ${CMAKE_COMMAND}
      -DFUZZER=$<TARGET_FILE:${name}> -DSEEDS=${F_SEEDS} -DWORK=${work}
      -DSECONDS=${QR_FUZZ_SECONDS}
      -P ${PROJECT_SOURCE_DIR}/cmake/RunFuzzer.cmake)
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 600 LABELS fuzz)
endfunction()
