# 100,000 string concatenations, inside a function so that CPython appends in place.
def main():
    s = ""
    for i in range(1, 100001):
        s = s + "x"
    print(len(s))


main()
