# Messages whose lParam the controller reads as a pointer, posted by another program with
# addresses that cannot be read: the controller takes them as null pointers and goes on.
contact alice "Alice"
handset plugged
start
wait 300
language 9
voip online
echo -- key reports that cannot be read: no key
message 1227 0 12345
message 1227 0 -1
message 1227 0 140737488355327
lcd
echo -- ringing with a caller text that cannot be read
message 1141 5 77
message 1141 63 -4096
lcd
echo -- call ids that cannot be read
message 1128 0 4096
message 1134 0 -8
lcd
finished
echo -- the program still answers
window
press SKYPE
lcd
menu close
