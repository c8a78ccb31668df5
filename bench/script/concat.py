import sys
# Inside a function, so that CPython can append in place.
def main():
    s = ""
    for i in range(1, 100001):
        s = s + "x"
    print(len(s))


if __name__ == "__main__":
    import time
    start = time.perf_counter()
    main()
    sys.stderr.write("time: %.4f\n" % (time.perf_counter() - start))
