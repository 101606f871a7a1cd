# Runs one scenario script and compares its output with the golden file beside it.
# A golden file NAME.out holds standard output; NAME.err, when present, holds the expected
# standard error, and NAME.status the expected exit status (default 0).
get_filename_component(dir ${SCRIPT} DIRECTORY)
get_filename_component(name ${SCRIPT} NAME_WE)
execute_process(
  COMMAND ${SIM} --script ${SCRIPT}
  WORKING_DIRECTORY ${dir}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
set(expected_status 0)
if(EXISTS ${dir}/${name}.status)
  file(READ ${dir}/${name}.status expected_status)
  string(STRIP "${expected_status}" expected_status)
endif()
file(READ ${dir}/${name}.out expected)
if(NOT out STREQUAL expected)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual "${out}")
  execute_process(COMMAND diff -u ${dir}/${name}.out ${CMAKE_CURRENT_BINARY_DIR}/${name}.actual)
  message(FATAL_ERROR "scenario ${name}: output differs from ${name}.out (stderr: ${err})")
endif()
if(EXISTS ${dir}/${name}.err)
  file(READ ${dir}/${name}.err expected_err)
  if(NOT err STREQUAL expected_err)
    message(FATAL_ERROR "scenario ${name}: stderr is '${err}', expected '${expected_err}'")
  endif()
endif()
if(NOT status STREQUAL expected_status)
  message(FATAL_ERROR "scenario ${name}: exit status ${status}, expected ${expected_status} (stderr: ${err})")
endif()
