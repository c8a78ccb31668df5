def inc(x):
    return x + 1
n = 0
for i in range(1, 1000001):
    n = inc(n)
print(n)
