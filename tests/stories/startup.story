# Start-up with the handset plugged in: the tray icon, the handset library and the client
# are set up, the handset shows the idle page, and the window hides itself 100 ms after the
# start.
handset plugged
contact alice "Alice"
start
wait 300
window
lcd
leds
#! picture idle
menu close
