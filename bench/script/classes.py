# Classes: 100,000 instances, then 1,000,000 attribute reads, writes and method calls.
class Counter:
    def __init__(self):
        self.Total = 0
        self.Steps = 0

    def Add(self, n):
        self.Total = self.Total + n
        self.Steps = self.Steps + 1

    def Mean(self):
        return self.Total // self.Steps


def main():
    t = 0
    for i in range(1, 100001):
        p = Counter()
        p.Total = i
        p.Steps = 1
        t = t + p.Mean()
    c = Counter()
    c.Total = 0
    c.Steps = 0
    for i in range(1, 200001):
        c.Add(i % 7)
        t = t + c.Steps
        c.Total = c.Total - 1
        t = t + c.Mean()
    print(t, c.Total, c.Steps)


main()
