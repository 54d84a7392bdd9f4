# Fuzzes a fresh copy of the seeds, so that the committed corpus stays as it is.
file(REMOVE_RECURSE ${WORK}/corpus)
file(MAKE_DIRECTORY ${WORK}/artifacts)
file(COPY ${SEEDS}/ DESTINATION ${WORK}/corpus)
execute_process(COMMAND ${FUZZER} -max_total_time=${SECONDS} -max_len=4096 -timeout=10
  -rss_limit_mb=2048 -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus COMMAND_ERROR_IS_FATAL ANY)
