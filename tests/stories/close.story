# "Close" from the tray menu: the menu comes up and goes without a choice, then the close
# command removes the icon, disconnects the client before closing the handset library, and
# ends the process.
handset plugged
start
wait 300
tray rbutton
menu close
window
