#include "Settings.h"

#include "IniFile.h"
#include "ProgramFolder.h"
#include "TextFile.h"

QString GetAppPath()
{
    return programFolder();
}

QString ReadIni(const QString &section, const QString &key, const QString &file)
{
    return IniFile::readValue(file, section, key);
}

void WriteIni(const QString &section, const QString &key, const QString &value, const QString &file)
{
    IniFile::writeValue(file, section, key, value);
}

QString ReadSet(const QString &key)
{
    return ReadIni(QStringLiteral("Setting"), key, GetAppPath() + QStringLiteral("config.ini"));
}

void WriteSet(const QString &key, const QString &value)
{
    WriteIni(QStringLiteral("Setting"), key, value, GetAppPath() + QStringLiteral("config.ini"));
}

QString ReadThemeSet(const QString &key)
{
    return ReadIni(QStringLiteral("Theme"), key, GetAppPath() + QStringLiteral("config.ini"));
}

QString ReadTxt(const QString &path)
{
    return TextFile::readWhole(path);
}
