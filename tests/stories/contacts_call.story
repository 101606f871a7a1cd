# The contacts page, the contact list scrolled down past its first screen, and a call placed
# to the contact selected.
contact alice "Alice"
contact bob "Bob"
contact carol "Carol"
contact dave "Dave" status=2
contact erin "Erin"
contact frank "Frank"
handset plugged
start
wait 300
language 9
voip online
echo -- the contacts page
press SKYPE
wait 1600
lcd
echo -- the contact list on its first contact
press DOWN
lcd
echo -- scrolled down to the fifth contact
press DOWN
press DOWN
press DOWN
press DOWN
lcd
#! picture contacts
echo -- CALL calls the contact selected
press CALL
lcd
leds
menu close
