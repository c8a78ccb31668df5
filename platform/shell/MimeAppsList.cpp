#include "MimeAppsList.h"

#include <QList>

namespace {
const QByteArray kGroup = QByteArrayLiteral("Default Applications");

struct Line
{
    qsizetype start; // first byte
    qsizetype end;   // one past the last byte before the line break
    qsizetype next;  // first byte of the following line
};

QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    qsizetype pos = 0;
    while (pos < content.size()) {
        qsizetype nl = content.indexOf('\n', pos);
        const qsizetype next = nl < 0 ? content.size() : nl + 1;
        qsizetype end = nl < 0 ? content.size() : nl;
        if (end > pos && content.at(end - 1) == '\r')
            --end;
        lines.append({pos, end, next});
        pos = next;
    }
    return lines;
}

// "[name]" -> name; null when the line is no group header.
QByteArray groupName(const QByteArray &text)
{
    const QByteArray t = text.trimmed();
    if (t.size() >= 2 && t.startsWith('[') && t.endsWith(']'))
        return t.mid(1, t.size() - 2);
    return QByteArray();
}

bool isKeyLine(const QByteArray &text, const QByteArray &key, qsizetype *valueStart)
{
    const qsizetype eq = text.indexOf('=');
    if (eq < 0 || text.trimmed().startsWith('#'))
        return false;
    if (text.left(eq).trimmed() != key)
        return false;
    qsizetype v = eq + 1;
    while (v < text.size() && (text.at(v) == ' ' || text.at(v) == '\t'))
        ++v;
    *valueStart = v;
    return true;
}
} // namespace

QByteArray MimeAppsList::defaultFor(const QByteArray &content, const QByteArray &mimeType)
{
    QByteArray value;
    bool inGroup = false;
    for (const Line &l : splitLines(content)) {
        const QByteArray text = content.mid(l.start, l.end - l.start);
        const QByteArray group = groupName(text);
        if (!group.isNull()) {
            inGroup = group == kGroup;
            continue;
        }
        qsizetype v = 0;
        if (inGroup && isKeyLine(text, mimeType, &v))
            value = text.mid(v).trimmed();
    }
    for (const QByteArray &id : value.split(';')) {
        if (!id.trimmed().isEmpty())
            return id.trimmed();
    }
    return QByteArray();
}

QByteArray MimeAppsList::withDefault(const QByteArray &content, const QByteArray &mimeType, const QByteArray &desktopId)
{
    const QList<Line> lines = splitLines(content);
    const QByteArray eol = content.contains("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
    QByteArray out;
    out.reserve(content.size() + mimeType.size() + desktopId.size() + 32);
    bool inGroup = false;
    bool replaced = false;
    qsizetype firstGroupEnd = -1;  // where new keys go into the first group
    qsizetype firstGroupLine = -1; // index of the first group's header
    int groupIndex = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line &l = lines.at(i);
        const QByteArray text = content.mid(l.start, l.end - l.start);
        const QByteArray group = groupName(text);
        if (!group.isNull()) {
            inGroup = group == kGroup;
            if (inGroup)
                ++groupIndex;
            if (inGroup && firstGroupLine < 0) {
                firstGroupLine = i;
                firstGroupEnd = l.next;
            }
            continue;
        }
        qsizetype v = 0;
        if (inGroup && isKeyLine(text, mimeType, &v)) {
            replaced = true;
            break;
        }
        // New keys go after the group's last key line, not after comments
        // or blank lines that may introduce the next group.
        if (inGroup && groupIndex == 0 && text.contains('=') && !text.trimmed().startsWith('#'))
            firstGroupEnd = l.next;
    }

    if (replaced) {
        inGroup = false;
        for (const Line &l : lines) {
            const QByteArray text = content.mid(l.start, l.end - l.start);
            const QByteArray group = groupName(text);
            if (!group.isNull())
                inGroup = group == kGroup;
            qsizetype v = 0;
            if (group.isNull() && inGroup && isKeyLine(text, mimeType, &v)) {
                out += content.mid(l.start, v);
                out += desktopId;
                out += content.mid(l.end, l.next - l.end);
            } else {
                out += content.mid(l.start, l.next - l.start);
            }
        }
        return out;
    }

    const QByteArray entry = mimeType + '=' + desktopId + eol;
    if (firstGroupLine >= 0) {
        out = content.left(firstGroupEnd);
        if (!out.endsWith('\n'))
            out += eol;
        out += entry;
        out += content.mid(firstGroupEnd);
        return out;
    }
    out = content;
    if (!out.isEmpty() && !out.endsWith('\n'))
        out += eol;
    out += '[' + kGroup + ']' + eol + entry;
    return out;
}
