import sys

def inc(x):
    return x + 1


def main():
    n = 0
    for i in range(1, 1000001):
        n = inc(n)
    print(n)


if __name__ == "__main__":
    import time
    start = time.perf_counter()
    main()
    sys.stderr.write("time: %.4f\n" % (time.perf_counter() - start))
