# Without the VoIP client the warning box comes up during the start-up and stays until its
# OK button is pressed; the handset's arrival is handled meanwhile by the box's message
# loop, and the start-up goes on after the box. (The simulator's box returns at once: the
# LCD read while the box is up is compared with the expected file only.)
client missing
handset plugged
start
#! wine dialog
#! wine lcd
#! wine dialog ok
#! wine dialog
wait 300
window
lcd
menu close
