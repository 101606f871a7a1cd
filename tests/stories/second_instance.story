# A second MivoRun.exe started while one runs ends at once and touches nothing; the first
# one goes on.
handset plugged
start
wait 300
#! second-instance
window
lcd
menu close
