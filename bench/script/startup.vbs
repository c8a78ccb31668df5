' Start-up alone: the engine and one line of output.
WScript.Echo 1
