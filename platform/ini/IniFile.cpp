#include "IniFile.h"

#include "Gbk.h"
#include "LockedFile.h"
#include "ProgramFolder.h"

#include <QFile>

#include <vector>

namespace {

struct Line
{
    qsizetype start = 0; // first byte of the line
    qsizetype end = 0;   // one past the last byte before the line break
    qsizetype next = 0;  // first byte of the following line
};

std::vector<Line> splitLines(const QByteArray &c)
{
    std::vector<Line> lines;
    qsizetype i = 0;
    const qsizetype n = c.size();
    while (i < n) {
        Line l;
        l.start = i;
        while (i < n && c.at(i) != '\n' && c.at(i) != '\r')
            ++i;
        l.end = i;
        if (i < n && c.at(i) == '\r')
            ++i;
        if (i < n && c.at(i) == '\n')
            ++i;
        l.next = i;
        lines.push_back(l);
    }
    return lines;
}

bool isBlank(char ch) { return ch == ' ' || ch == '\t'; }

QByteArray trimmed(const QByteArray &b)
{
    qsizetype s = 0, e = b.size();
    while (s < e && isBlank(b.at(s)))
        ++s;
    while (e > s && isBlank(b.at(e - 1)))
        --e;
    return b.mid(s, e - s);
}

bool isAscii(const QByteArray &b)
{
    for (const char ch : b) {
        if (static_cast<unsigned char>(ch) >= 0x80)
            return false;
    }
    return true;
}

bool sameName(const QByteArray &stored, const QString &wanted)
{
    const QString w = wanted.trimmed();
    // Most names are plain ASCII; they compare without a decoder.
    if (isAscii(stored)) {
        if (stored.size() != w.size())
            return false;
        return QLatin1String(stored).compare(w, Qt::CaseInsensitive) == 0;
    }
    return Gbk::decode(stored).compare(w, Qt::CaseInsensitive) == 0;
}

// Index of the first "]" that is a character of its own, not the second byte
// of a double-byte character ("乚" is 0x81 0x5D); -1 when there is none.
qsizetype closingBracket(const QByteArray &t)
{
    for (qsizetype i = 1; i < t.size(); ++i) {
        const auto c = static_cast<unsigned char>(t.at(i));
        if (c == ']')
            return i;
        if (c >= 0x81 && c <= 0xFE && i + 1 < t.size())
            ++i;
    }
    return -1;
}

// The section name of a header line, or a null array for other lines.
QByteArray sectionName(const QByteArray &line)
{
    const QByteArray t = trimmed(line);
    if (!t.startsWith('['))
        return QByteArray();
    const qsizetype close = closingBracket(t);
    QByteArray name = close < 0 ? t.mid(1) : t.mid(1, close - 1);
    name = trimmed(name);
    return name.isNull() ? QByteArray("") : name;
}

struct Located
{
    bool sectionFound = false;
    qsizetype sectionLine = -1;   // index of the header line
    qsizetype lastContent = -1;   // last non-blank line of the section (header included)
    qsizetype keyLine = -1;       // first line holding the key
};

Located locate(const std::vector<Line> &lines, const QByteArray &c, const QString &section, const QString &key)
{
    Located r;
    bool inSection = false;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const QByteArray text = c.mid(lines[i].start, lines[i].end - lines[i].start);
        const QByteArray sec = sectionName(text);
        if (!sec.isNull()) {
            if (r.sectionFound)
                break; // the first matching section wins; its end is here
            inSection = sameName(sec, section);
            if (inSection) {
                r.sectionFound = true;
                r.sectionLine = i;
                r.lastContent = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!trimmed(text).isEmpty())
            r.lastContent = i;
        if (r.keyLine < 0) {
            const qsizetype eq = text.indexOf('=');
            if (eq >= 0 && sameName(trimmed(text.left(eq)), key))
                r.keyLine = i;
        }
    }
    return r;
}

QByteArray unquoted(QByteArray v)
{
    if (v.size() >= 2) {
        const char q = v.at(0);
        if ((q == '"' || q == '\'') && v.at(v.size() - 1) == q)
            v = v.mid(1, v.size() - 2);
    }
    return v;
}

QByteArray cleanValue(const QString &value)
{
    QString v = value;
    v.remove(QLatin1Char('\r'));
    v.remove(QLatin1Char('\n'));
    return Gbk::encode(v);
}

} // namespace

QByteArray IniFile::readRaw(const QByteArray &content, const QString &section, const QString &key, bool *found)
{
    const auto lines = splitLines(content);
    const Located loc = locate(lines, content, section, key);
    if (found)
        *found = loc.keyLine >= 0;
    if (loc.keyLine < 0)
        return QByteArray();
    const Line &l = lines[loc.keyLine];
    const QByteArray text = content.mid(l.start, l.end - l.start);
    return unquoted(trimmed(text.mid(text.indexOf('=') + 1)));
}

QByteArray IniFile::withValue(const QByteArray &content, const QString &section, const QString &key,
                              const QString &value)
{
    const QByteArray v = cleanValue(value);
    const auto lines = splitLines(content);
    const Located loc = locate(lines, content, section, key);
    if (loc.keyLine >= 0) {
        const Line &l = lines[loc.keyLine];
        const QByteArray text = content.mid(l.start, l.end - l.start);
        const QByteArray storedKey = trimmed(text.left(text.indexOf('=')));
        QByteArray out = content.left(l.start);
        out += storedKey + '=' + v;
        out += content.mid(l.end);
        return out;
    }
    const QByteArray keyBytes = Gbk::encode(key.trimmed());
    if (loc.sectionFound) {
        const Line &l = lines[loc.lastContent];
        QByteArray out = content.left(l.next);
        if (l.next == l.end) // the last line had no line break
            out += "\r\n";
        out += keyBytes + '=' + v + "\r\n";
        out += content.mid(l.next);
        return out;
    }
    QByteArray out = content;
    if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r'))
        out += "\r\n";
    out += '[' + Gbk::encode(section.trimmed()) + "]\r\n";
    out += keyBytes + '=' + v + "\r\n";
    return out;
}

QString IniFile::readValue(const QString &file, const QString &section, const QString &key)
{
    if (section.trimmed().isEmpty() || key.trimmed().isEmpty())
        return QString();
    QFile f(toLocalPath(file));
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray content = f.readAll();
    return Gbk::decode(readRaw(content, section, key));
}

bool IniFile::writeValue(const QString &file, const QString &section, const QString &key, const QString &value)
{
    if (section.trimmed().isEmpty() || key.trimmed().isEmpty())
        return false;
    // Read, change and replace under the file's lock: a key that another
    // process wrote meanwhile is kept.
    return LockedFile::update(toLocalPath(file), [&](QByteArray &content, bool) {
        content = withValue(content, section, key, value);
        return true;
    });
}
