; Macro templates for the File > Import macro Template menu.
; Each template starts with a line [MACRO_TEMPLATE name] and runs to the next one;
; a template named SEPARATOR draws a line in the menu.
[MACRO_TEMPLATE Telnet login]
; Replace the words in angle brackets, then delete the brackets.
connect '<server_name_or_IP_address>:23 /nossh'
setsync 1
wait 'ogin:'
sendln '<user_name>'
wait 'assword:'
passwordbox 'Enter password' 'Login'
sendln inputstr
[MACRO_TEMPLATE SSH login]
; Replace the words in angle brackets, then delete the brackets.
connect '<server_name_or_IP_address>:22 /ssh /auth=password /user=<user_name> /ask4passwd'
setsync 1
[MACRO_TEMPLATE SEPARATOR]
[MACRO_TEMPLATE Wait for the prompt]
wait '$' '#' '>'
[MACRO_TEMPLATE Loop over a counter]
i = 1
:again
    ; the body of the loop
    i = i + 1
    if i <= 10 goto again
[MACRO_TEMPLATE Write a log file]
fileopen fhandle 'log.txt' 1
filewriteln fhandle 'started'
fileclose fhandle
