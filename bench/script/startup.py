# Start-up alone: the interpreter and one line of output.
print(1)
