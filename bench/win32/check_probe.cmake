# Runs mivorun-probe on the minimal dialog program with a ticking timer and checks what it
# counted: the program's timer messages, all of them to its window, at about the timer's rate;
# with TICK_MS 0 (no timer), no message at all.
#
#   cmake -DEMULATOR=wine -DPROBE=... -DDIALOG=... -DTICK_MS=100 -DIDLE_SECONDS=3 -P check_probe.cmake
execute_process(
  COMMAND ${EMULATOR} ${PROBE} --caption "Minimal dialog" --idle-seconds ${IDLE_SECONDS}
          --settle-ms 1500 --prefix check -- ${DIALOG} --tick ${TICK_MS}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the probe failed (${status}):\n${out}${err}")
endif()

function(figure name var)
  if(NOT out MATCHES "check_${name}=([0-9.]+)")
    message(FATAL_ERROR "no ${name} in:\n${out}")
  endif()
  # Whole numbers are enough for the checks below.
  string(REGEX REPLACE "\\..*" "" whole "${CMAKE_MATCH_1}")
  set(${var} ${whole} PARENT_SCOPE)
endfunction()

figure(timer_messages_per_min timers)
figure(window_timer_messages_per_min window_timers)
figure(messages_per_min messages)
figure(startup_ms startup)
figure(pagefile_kb pagefile)
if(startup LESS 1 OR pagefile LESS 1)
  message(FATAL_ERROR "no start-up time or memory measured:\n${out}")
endif()
if(TICK_MS EQUAL 0)
  # Without a timer the program takes nothing: the probe's own nudge and looks at the queue
  # that leave messages in it are not counted.
  if(NOT messages EQUAL 0)
    message(FATAL_ERROR "${messages} messages a minute counted in an idle program:\n${out}")
  endif()
  return()
endif()
math(EXPR expected "60000 / ${TICK_MS}")
math(EXPR low "${expected} * 7 / 10")
math(EXPR high "${expected} * 11 / 10 + 60 / ${IDLE_SECONDS}")
if(timers LESS low OR timers GREATER high)
  message(FATAL_ERROR "${timers} timer messages a minute, expected about ${expected}:\n${out}")
endif()
if(NOT window_timers EQUAL timers)
  message(FATAL_ERROR "${window_timers} of ${timers} timer messages counted for the window:\n${out}")
endif()
message(STATUS "${timers} timer messages a minute (expected ${expected}), start-up ${startup} ms")
