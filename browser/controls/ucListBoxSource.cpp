#include "ucListBoxSource.h"

#include "AppPackages.h"
#include "Apps.h"
#include "Files.h"
#include "Gbk.h"
#include "IniFile.h"
#include "ProgramFolder.h"
#include "TextFile.h"

#include <QFile>
#include <QStringMatcher>

#include <algorithm>

namespace {
const QString kSep = QStringLiteral("@@");
// Ends every typed entry in the searched text. A text to look for that holds
// it is compared entry by entry instead.
const QChar kEnd(0);

// The file's bytes; ok is false when it cannot be opened.
QByteArray ReadBytes(const QString &path, bool *ok)
{
    QFile f(toLocalPath(path));
    *ok = f.open(QIODevice::ReadOnly);
    return *ok ? f.readAll() : QByteArray();
}

QString RegistryValue(const QByteArray &content, const QString &key)
{
    return Gbk::decode(IniFile::readRaw(content, QStringLiteral("Apps"), key));
}
} // namespace

void ucListBoxSource::prepareHistory(const QByteArray &bytes)
{
    m_hisBytes = bytes;
    m_hisText = TextFile::wholeText(bytes);
    m_hisStored = InputHisEntries(m_hisText);
    m_hisTyped.clear();
    m_hisTyped.reserve(m_hisText.size());
    m_hisStart.clear();
    m_hisStart.reserve(size_t(m_hisStored.size()));
    for (const QStringView piece : m_hisStored) {
        m_hisStart.push_back(m_hisTyped.size());
        if (piece.contains(QLatin1Char('%')))
            m_hisTyped += InputHisDecode(piece);
        else
            m_hisTyped += piece;
        m_hisTyped += kEnd;
    }
}

QString ucListBoxSource::InputHis(const QString &txt, int limit)
{
    bool ok = false;
    const QByteArray bytes = ReadBytes(InputHisPath(), &ok);
    if (!m_hisRead || bytes != m_hisBytes)
        prepareHistory(bytes);
    m_hisRead = true;

    QString result;
    int found = 0;
    const auto take = [&](qsizetype k) {
        result += m_hisStored.at(k);
        result += kSep;
        ++found;
    };
    const qsizetype n = m_hisStored.size();
    if (txt.isEmpty() || txt.contains(kEnd)) {
        for (qsizetype k = 0; k < n && found < limit; ++k) {
            const qsizetype end = k + 1 < n ? m_hisStart[size_t(k + 1)] - 1 : m_hisTyped.size() - 1;
            if (QStringView(m_hisTyped).mid(m_hisStart[size_t(k)], end - m_hisStart[size_t(k)]).contains(txt))
                take(k);
        }
        return result;
    }
    // One pass over all typed entries at once; a hit cannot reach past the
    // end of its entry, since the text holds no kEnd.
    const QStringMatcher matcher(txt, Qt::CaseSensitive);
    qsizetype from = 0;
    while (found < limit) {
        const qsizetype hit = matcher.indexIn(m_hisTyped, from);
        if (hit < 0)
            break;
        const auto next = std::upper_bound(m_hisStart.begin(), m_hisStart.end(), hit);
        const qsizetype k = qsizetype(next - m_hisStart.begin()) - 1;
        take(k);
        from = next == m_hisStart.end() ? m_hisTyped.size() : *next;
    }
    return result;
}

QString ucListBoxSource::Apps(const QString &txt)
{
    bool ok = false;
    const QByteArray registry = ReadBytes(AppsIniPath(), &ok);
    if (!ok)
        return QString();
    if (!m_registryRead || registry != m_registryBytes) {
        m_registryBytes = registry;
        m_registryRead = true;
        m_apps.clear();
        const int count = AppCountFromText(RegistryValue(registry, QStringLiteral("Count")));
        for (int k = 1; k <= count; ++k) {
            const QString entry = RegistryValue(registry, QStringLiteral("app") + QString::number(k));
            App app;
            if (!AppNameOfEntry(entry).isEmpty())
                app.path = GetAppPath() + QStringLiteral("Apps\\") + entry;
            m_apps.push_back(app);
        }
    }

    const QString needle = txt.toLower();
    QString result;
    for (App &app : m_apps) {
        if (!app.path.isEmpty()) {
            bool read = false;
            const QByteArray bytes = ReadBytes(app.path, &read);
            if (!app.read || bytes != app.bytes) {
                app.bytes = bytes;
                app.read = true;
                app.name = Gbk::decode(IniFile::readRaw(bytes, QStringLiteral("App"), QStringLiteral("Name")));
                app.lowerName = app.name.toLower();
            }
        }
        if (app.lowerName.contains(needle))
            result += app.name + kSep;
    }
    return result;
}
