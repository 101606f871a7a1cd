# The handset's arrival writes the sound mapper's devices; its removal writes setup.ini
# whole.
#! registry-key
start
wait 300
registry
cat setup.ini
handset arrive
registry
wait 300
key VOL+
key RELEASE
wait 2200
handset remove
cat setup.ini
lcd
leds
menu close
