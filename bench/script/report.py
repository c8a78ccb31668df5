# A report built by concatenation (100,000 lines) and a join of 100,000 parts.
def main():
    s = ""
    for i in range(1, 100001):
        a = "row "
        s += a + str(i) + "\r\n"
    parts = [None] * 100000
    for i in range(0, 100000):
        parts[i] = "item" + str(i)
    r = ",".join(parts)
    print(len(s), len(r), "True", r[-9:])


main()
