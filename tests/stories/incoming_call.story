# An incoming call rung, answered with CALL, put in progress and timed by the call clock,
# held and resumed, and ended from this side; then a second call that the far end ends.
contact alice "Alice"
contact bob "Bob"
handset plugged
start
wait 300
language 9
voip online
echo -- the client rings: the incoming-call page, the main LED blinks
ring "Alice"
lcd
wait 1200
echo -- CALL answers
press CALL
lcd
echo -- the call in progress: the call clock runs
in-progress 401
wait 2200
lcd
#! picture call
echo -- HOLD holds the call; the client confirms
press HOLD
hold
lcd
leds
echo -- HOLD again resumes it; the client confirms
press HOLD
resume
lcd
leds
echo -- END hangs up; the client reports the call finished
press END
finished
lcd
leds
echo -- a second call, ended by the far end
ring "Bob"
press CALL
in-progress 402
finished
lcd
leds
menu close
