#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A throw-away program folder with the folders the program ships with
// ("Data\", "Apps\", "Themes\"), made the program folder while it lives.
class TestProgramFolder
{
public:
    TestProgramFolder();
    ~TestProgramFolder();

    QString path() const { return m_dir.path(); }
    // Writes a file (relative path with "\" or "/") with the given bytes.
    void writeBytes(const QString &relative, const QByteArray &bytes) const;
    // Writes GBK text.
    void writeText(const QString &relative, const QString &text) const;
    QByteArray readBytes(const QString &relative) const;

    // Registers apps: Apps\Apps.ini with Count and appN, and an ini per app
    // whose section "App" holds the Name.
    void installApps(const QStringList &names) const;
    // Writes the input history: the entries each followed by "@@", then CR LF.
    void writeHistory(const QStringList &entries) const;

private:
    QTemporaryDir m_dir;
};
