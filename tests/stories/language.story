# The language switched to German and back: the handset's texts and the About box's caption
# follow; the About box stays open until its OK button is pressed.
#! copy lang.ini
handset plugged
start
wait 300
voip online
echo -- German
language 7
lcd
press SKYPE
lcd
wait 1600
menu about
#! wine dialog
#! picture about "Info"
#! wine dialog ok
#! wine dialog
echo -- English again
language 9
lcd
menu about
#! wine dialog
#! wine dialog ok
#! wine dialog
menu close
