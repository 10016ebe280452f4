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

# qr_fuzz_instrument(LIBS...): compiles each library, and every library of
# ours it links in turn, with libFuzzer's coverage instrumentation. Without it
# a fuzz target sees only the edges of its own small source file and mutates
# blindly. The sanitizer runtime every binary of the build links provides the
# hooks, so tests and qrhost link these libraries unchanged.
function(qr_fuzz_instrument)
  foreach(lib ${ARGN})
    if(NOT TARGET ${lib})
      continue()
    endif()
    get_target_property(imported ${lib} IMPORTED)
    get_target_property(done ${lib} QR_FUZZ_INSTRUMENTED)
    if(imported OR done)
      continue()
    endif()
    set_target_properties(${lib} PROPERTIES QR_FUZZ_INSTRUMENTED ON)
    target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
    get_target_property(deps ${lib} LINK_LIBRARIES)
    if(deps)
      qr_fuzz_instrument(${deps})
    endif()
  endforeach()
endfunction()

# qr_add_fuzzer(NAME SOURCES... LIBS libs... SEEDS dir DICT files...): a libFuzzer
# target and a bounded CTest run of it over a copy of its seeds (the run may
# add inputs), with the dictionaries of its formats joined into one file.
set(QR_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs in the test suite")
function(qr_add_fuzzer name)
  cmake_parse_arguments(F "" "SEEDS" "SOURCES;LIBS;DICT" ${ARGN})
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  qr_fuzz_instrument(${F_LIBS})
  # The dictionaries given, as one file (libFuzzer takes one), and a line in
  # the list of targets that scripts/fuzz.sh runs.
  set(dict ${CMAKE_BINARY_DIR}/fuzz-dicts/${name}.dict)
  set(words "")
  foreach(part ${F_DICT})
    file(READ ${part} text)
    string(APPEND words "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${part})
  endforeach()
  file(WRITE ${dict} "${words}")
  file(APPEND ${CMAKE_BINARY_DIR}/fuzz-targets.txt "${name} ${F_SEEDS} ${dict}\n")
  set(work ${CMAKE_BINARY_DIR}/fuzz-work/${name})
  add_test(NAME fuzz.${name}
    COMMAND ${CMAKE_COMMAND}
      -DFUZZER=$<TARGET_FILE:${name}> -DSEEDS=${F_SEEDS} -DWORK=${work}
      -DSECONDS=${QR_FUZZ_SECONDS} -DDICT=${dict}
      -P ${PROJECT_SOURCE_DIR}/cmake/RunFuzzer.cmake)
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 600 LABELS fuzz)
endfunction()
