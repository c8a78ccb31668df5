WScript.Echo "never runs"
x = (1 + 2
