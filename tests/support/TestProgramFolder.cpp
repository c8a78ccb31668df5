#include "TestProgramFolder.h"

#include "Gbk.h"
#include "ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestProgramFolder::TestProgramFolder()
{
    QDir d(m_dir.path());
    d.mkpath(QStringLiteral("Data"));
    d.mkpath(QStringLiteral("Apps"));
    d.mkpath(QStringLiteral("Themes"));
    setProgramFolderOverride(m_dir.path());
}

TestProgramFolder::~TestProgramFolder()
{
    setProgramFolderOverride(QString());
}

void TestProgramFolder::writeBytes(const QString &relative, const QByteArray &bytes) const
{
    const QString full = m_dir.path() + QLatin1Char('/') + toLocalPath(relative);
    QDir().mkpath(QFileInfo(full).path());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

void TestProgramFolder::writeText(const QString &relative, const QString &text) const
{
    writeBytes(relative, Gbk::encode(text));
}

QByteArray TestProgramFolder::readBytes(const QString &relative) const
{
    QFile f(m_dir.path() + QLatin1Char('/') + toLocalPath(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void TestProgramFolder::installApps(const QStringList &names) const
{
    QString reg = QStringLiteral("[Apps]\r\nCount=%1\r\n").arg(names.size());
    for (int i = 0; i < names.size(); ++i) {
        const QString folder = QStringLiteral("app%1x").arg(i + 1);
        reg += QStringLiteral("app%1=%2\\%2.ini\r\n").arg(i + 1).arg(folder);
        writeText(QStringLiteral("Apps\\%1\\%1.ini").arg(folder),
                  QStringLiteral("[App]\r\nName=%1\r\nType=javascript\r\n").arg(names.at(i)));
    }
    writeText(QStringLiteral("Apps\\Apps.ini"), reg);
}

void TestProgramFolder::writeHistory(const QStringList &entries) const
{
    QString text;
    for (const QString &e : entries)
        text += e + QStringLiteral("@@");
    writeText(QStringLiteral("Data\\InputHis.ini"), text + QStringLiteral("\r\n"));
}
