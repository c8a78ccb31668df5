# 1,000,000 calls of a small function.
def inc(x):
    return x + 1


def main():
    n = 0
    for i in range(1, 1000001):
        n = inc(n)
    print(n)


main()
