WScript.Echo "start"
x = 1
  y = x / 0
WScript.Echo "never"
