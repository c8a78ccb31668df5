#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

// The two searches behind the suggestion list, asked once per keystroke.
// Every search reads its files, as the list always did, so that an edit made
// meanwhile shows at once; but a file's text is decoded, split and prepared
// for searching again only when its bytes changed since the search before.
// A keystroke then costs little more than reading the files.
class ucListBoxSource
{
public:
    ucListBoxSource() = default;
    ucListBoxSource(const ucListBoxSource &) = delete;
    ucListBoxSource &operator=(const ucListBoxSource &) = delete;

    // GetInputHis(txt) cut after its first `limit` entries: the matching
    // entries in their stored form, each followed by "@@".
    QString InputHis(const QString &txt, int limit);
    // FindApps(txt): the names of the installed apps that contain txt without
    // regard to case, in the registry's order, each followed by "@@".
    QString Apps(const QString &txt);

private:
    void prepareHistory(const QByteArray &bytes);

    // The history: its bytes, its whole text, the stored entries as views
    // into that text, and the typed entries one after another, each followed
    // by kEnd, with the position where each one starts.
    QByteArray m_hisBytes;
    bool m_hisRead = false;
    QString m_hisText;
    QList<QStringView> m_hisStored;
    QString m_hisTyped;
    std::vector<qsizetype> m_hisStart;

    struct App
    {
        QString path;  // its ini file; "" for an entry that names no app's own ini
        QByteArray bytes;
        bool read = false;
        QString lowerName;
        QString name;
    };
    QByteArray m_registryBytes;
    bool m_registryRead = false;
    std::vector<App> m_apps;
};
