// Bounded random test of the ini reader and writer, built with the address
// and undefined-behaviour sanitizers: random and mutated file contents, each
// with a write of one key, checked for
//   - the written key reads back as the value (blanks and quotes aside),
//   - every other key reads as before,
//   - a write of an existing key changes only that key's line, a new key only
//     inserts bytes,
//   - writing the same value again changes nothing.
// INI_FUZZ_ROUNDS and INI_FUZZ_SEED in the environment change the count of
// files (150000 by default, a few seconds) and the seed.
#include "Gbk.h"
#include "IniFile.h"

#include <QElapsedTimer>
#include <QStringList>

#include <cstdio>
#include <random>

// Short allocation stacks: the test allocates much and a failure's own report
// is what matters.
extern "C" const char *__asan_default_options()
{
    return "malloc_context_size=3:quarantine_size_mb=16";
}

namespace {
std::mt19937 rng;

int pick(int n) { return int(rng() % unsigned(n)); }

// Names with letters in both cases, blanks, GBK characters (one whose second
// byte is "]", one whose second byte is "\\").
const QStringList kNames = {
    QStringLiteral("Setting"), QStringLiteral("SETTING"), QStringLiteral("a"), QStringLiteral("A"),
    QStringLiteral("b"), QStringLiteral("Key 1"), QStringLiteral("中"), QStringLiteral("乗"),
    QStringLiteral("乚"), QStringLiteral("App"), QStringLiteral("x.y"), QStringLiteral("Zz"),
};

QByteArray randomFragment()
{
    static const char *const pieces[] = {"[", "]", "=", "\r\n", "\n", "\r", " ", "\t", "\"", "'", ";", "==", "[]",
                                          "\xd6\xd0", "\x81", "\xff", "\x80", "\0", "\\", "value", "x y"};
    switch (pick(4)) {
    case 0:
        return Gbk::encode(kNames.at(pick(int(kNames.size()))));
    case 1: {
        const char *p = pieces[pick(int(std::size(pieces)))];
        return p[0] == 0 ? QByteArray(1, '\0') : QByteArray(p);
    }
    case 2:
        return QByteArray(1, char(pick(256)));
    default: {
        // A well-formed line or header.
        const QByteArray name = Gbk::encode(kNames.at(pick(int(kNames.size()))));
        return pick(3) == 0 ? "[" + name + "]\r\n" : name + "=" + QByteArray::number(pick(1000)) + "\r\n";
    }
    }
}

QByteArray randomContent()
{
    QByteArray c;
    const int n = pick(40);
    for (int i = 0; i < n; ++i)
        c += randomFragment();
    return c;
}

QByteArray mutate(QByteArray c)
{
    const int n = 1 + pick(4);
    for (int i = 0; i < n; ++i) {
        const int at = c.isEmpty() ? 0 : pick(int(c.size()) + 1);
        switch (pick(3)) {
        case 0:
            c.insert(at, randomFragment());
            break;
        case 1:
            if (!c.isEmpty())
                c.remove(qMin<qsizetype>(at, c.size() - 1), 1 + pick(8));
            break;
        default:
            if (!c.isEmpty())
                c[qMin<qsizetype>(at, c.size() - 1)] = char(pick(256));
        }
    }
    return c;
}

QString randomValue()
{
    static const char *const parts[] = {"http://a/", " ", "\"", "'", "中文", "\r\n", "\n", "=", "[x]", "😀", "a;b", "\t"};
    QString v;
    const int n = pick(6);
    for (int i = 0; i < n; ++i)
        v += QString::fromUtf8(parts[pick(int(std::size(parts)))]);
    return v;
}

// What a reader gets back for a written value.
QByteArray storedForm(const QString &value)
{
    QString v = value;
    v.remove(QLatin1Char('\r'));
    v.remove(QLatin1Char('\n'));
    QByteArray b = Gbk::encode(v);
    qsizetype s = 0, e = b.size();
    while (s < e && (b.at(s) == ' ' || b.at(s) == '\t'))
        ++s;
    while (e > s && (b.at(e - 1) == ' ' || b.at(e - 1) == '\t'))
        --e;
    b = b.mid(s, e - s);
    if (b.size() >= 2 && (b.at(0) == '"' || b.at(0) == '\'') && b.at(b.size() - 1) == b.at(0))
        b = b.mid(1, b.size() - 2);
    return b;
}

bool sameName(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

int failures = 0;

void fail(const char *what, const QByteArray &content, const QString &section, const QString &key, const QString &value)
{
    if (++failures > 5)
        return;
    std::fprintf(stderr, "FAIL %s\n  content %s\n  section %s key %s value %s\n", what, content.toHex(' ').constData(),
                 section.toUtf8().constData(), key.toUtf8().constData(), value.toUtf8().toHex(' ').constData());
}

void check(const QByteArray &content)
{
    const QString section = kNames.at(pick(int(kNames.size())));
    const QString key = kNames.at(pick(int(kNames.size())));
    const QString value = randomValue();
    bool existed = false;
    IniFile::readRaw(content, section, key, &existed);
    const QByteArray out = IniFile::withValue(content, section, key, value);

    bool found = false;
    if (IniFile::readRaw(out, section, key, &found) != storedForm(value) || !found)
        fail("written value does not read back", content, section, key, value);

    for (int i = 0; i < 6; ++i) {
        const QString s = kNames.at(pick(int(kNames.size())));
        const QString k = kNames.at(pick(int(kNames.size())));
        {
            if (sameName(s, section) && sameName(k, key))
                continue;
            bool f1 = false, f2 = false;
            const QByteArray before = IniFile::readRaw(content, s, k, &f1);
            const QByteArray after = IniFile::readRaw(out, s, k, &f2);
            if (before != after || f1 != f2) {
                fail("another key changed", content, section, key, value);
                return;
            }
        }
    }

    qsizetype p = 0;
    const qsizetype shortest = qMin(content.size(), out.size());
    while (p < shortest && content.at(p) == out.at(p))
        ++p;
    qsizetype q = 0;
    while (q < shortest - p && content.at(content.size() - 1 - q) == out.at(out.size() - 1 - q))
        ++q;
    const qsizetype removed = content.size() - p - q;
    if (!existed && removed != 0)
        fail("a new key removed bytes", content, section, key, value);
    if (existed) {
        const qsizetype lineStart = content.lastIndexOf('\n', p - 1) + 1;
        qsizetype lineEnd = p;
        while (lineEnd < content.size() && content.at(lineEnd) != '\r' && content.at(lineEnd) != '\n')
            ++lineEnd;
        if (p + removed > lineEnd || p < lineStart - 1)
            fail("a replaced value touched other lines", content, section, key, value);
    }

    if (IniFile::withValue(out, section, key, value) != out)
        fail("a second equal write changed the file", content, section, key, value);
}
} // namespace

int main()
{
    const unsigned seed = qEnvironmentVariableIsSet("INI_FUZZ_SEED")
        ? unsigned(qEnvironmentVariableIntValue("INI_FUZZ_SEED")) : 20261209u;
    const int rounds = qEnvironmentVariableIsSet("INI_FUZZ_ROUNDS")
        ? qEnvironmentVariableIntValue("INI_FUZZ_ROUNDS") : 150000;
    rng.seed(seed);
    QElapsedTimer timer;
    timer.start();
    QByteArray last;
    int done = 0;
    for (; done < rounds; ++done) {
        const QByteArray content = (pick(2) == 0 || last.isEmpty()) ? randomContent() : mutate(last);
        check(content);
        last = content.size() > 4000 ? QByteArray() : content;
    }
    std::printf("%d rounds, seed %u, %lld ms, %d failures\n", done, seed, timer.elapsed(), failures);
    return failures == 0 ? 0 : 1;
}
