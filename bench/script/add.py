import sys
# The loop runs inside a function: CPython's fastest form (local variables).
def main():
    s = 0
    for i in range(1, 10000001):
        s = s + i
    print(s)


if __name__ == "__main__":
    import time
    start = time.perf_counter()
    main()
    sys.stderr.write("time: %.4f\n" % (time.perf_counter() - start))
