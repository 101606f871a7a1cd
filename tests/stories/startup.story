# Start-up with the handset plugged in: the tray icon, the handset library and the client
# are set up, the handset shows the idle page, and the window hides itself 100 ms after the
# start. A second MivoRun.exe started meanwhile ends at once and touches nothing; the first
# one goes on.
handset plugged
contact alice "Alice"
start
wait 300
window
lcd
leds
#! picture idle
#! second-instance
window
language 9
voip online
press SKYPE
lcd
menu close
