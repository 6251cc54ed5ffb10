# The demo run, a newcomer's first sight of venk: compress the bundled sample
# the default way and with -b, print the figures venk -s gives for each, and
# check that both streams expand back to the sample byte for byte.
# Called with -DVENK=<tool> -DSAMPLE=<blob> -DWORK_DIR=<scratch directory>.
# The sample is copied into the scratch directory as tiles.bin, so that the
# lines show the short names of the README's first run.
file(MAKE_DIRECTORY "${WORK_DIR}")
file(COPY_FILE "${SAMPLE}" "${WORK_DIR}/tiles.bin")
message("venk demo: ${SAMPLE} copied to ${WORK_DIR}/tiles.bin")

# Compresses tiles.bin into `stream` with -s and the options that follow,
# prints the command and its line of figures, and checks the round trip.
function(demo_run stream)
  set(command venk -s ${ARGN} tiles.bin ${stream})
  list(JOIN command " " shown)
  execute_process(COMMAND "${VENK}" -s ${ARGN} tiles.bin ${stream} WORKING_DIRECTORY "${WORK_DIR}"
                  RESULT_VARIABLE status OUTPUT_VARIABLE figures OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${shown} failed")
  endif()
  execute_process(COMMAND "${VENK}" -d ${stream} ${stream}.bin WORKING_DIRECTORY "${WORK_DIR}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "venk -d ${stream} failed")
  endif()
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files tiles.bin ${stream}.bin WORKING_DIRECTORY "${WORK_DIR}"
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the round trip of ${stream} changed the bytes")
  endif()
  message("$ ${shown}\n${figures}")
endfunction()

demo_run(tiles.venk)
demo_run(tiles-best.venk -b)
message("venk -d expands each stream back to tiles.bin byte for byte")
