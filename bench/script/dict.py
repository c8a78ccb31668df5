# Dictionary: 100,000 inserts, 100,000 membership tests and reads, the keys, 50,000 deletes.
def main():
    d = {}
    for i in range(1, 100001):
        d["k" + str(i)] = i
    n = 0
    for i in range(1, 100001):
        key = "k" + str(i)
        if key in d:
            n = n + d[key]
    s = 0
    for key in list(d.keys()):
        s = s + len(key)
    for i in range(1, 100001, 2):
        del d["k" + str(i)]
    print(n, s, len(d))


main()
