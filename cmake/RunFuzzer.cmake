# Runs one libFuzzer target for a bounded time over a scratch copy of its seeds,
# with its format's dictionary (DICT, possibly empty).
# Any crash, leak or sanitizer report makes libFuzzer exit non-zero, and so the test fails.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
if(EXISTS ${SEEDS})
  file(GLOB seeds ${SEEDS}/*)
  if(seeds)
    file(COPY ${seeds} DESTINATION ${WORK}/corpus)
  endif()
endif()
set(dict_option "")
if(DICT AND EXISTS ${DICT})
  file(SIZE ${DICT} dict_size)
  if(dict_size GREATER 0)
    set(dict_option -dict=${DICT})
  endif()
endif()
execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 ${dict_option}
          -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "fuzzer ${FUZZER} failed (${rc}); inputs in ${WORK}/artifacts")
endif()
