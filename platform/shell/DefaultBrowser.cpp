#include "DefaultBrowser.h"

#include "MimeAppsList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

namespace {
const char *const kTypes[] = {"x-scheme-handler/http", "x-scheme-handler/https", "text/html"};

QString xdgFolder(const char *variable, const QString &fallbackUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::cleanPath(QDir::homePath() + QLatin1Char('/') + fallbackUnderHome);
}

bool writeAtomically(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
} // namespace

QString DefaultBrowser::desktopId()
{
    return QStringLiteral("tessivane.desktop");
}

QString DefaultBrowser::dataHome()
{
    return xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString DefaultBrowser::configHome()
{
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString DefaultBrowser::desktopFilePath()
{
    return dataHome() + QStringLiteral("/applications/") + desktopId();
}

QString DefaultBrowser::mimeAppsPath()
{
    return configHome() + QStringLiteral("/mimeapps.list");
}

QString DefaultBrowser::execArgument(const QString &programPath)
{
    QString quoted;
    for (const QChar c : programPath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    // The value of a desktop entry is itself a string with "\\" for "\".
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray DefaultBrowser::desktopEntry(const QString &programPath)
{
    if (programPath.isEmpty() || programPath.contains(QLatin1Char('\n')) || programPath.contains(QLatin1Char('\r'))
        || programPath.contains(QChar(0)))
        return QByteArray();
    QByteArray text;
    text += "[Desktop Entry]\n";
    text += "Type=Application\n";
    text += "Name=Tessivane\n";
    text += "Exec=" + execArgument(programPath).toUtf8() + " %u\n";
    text += "MimeType=x-scheme-handler/http;x-scheme-handler/https;text/html;\n";
    return text;
}

bool DefaultBrowser::httpHandlerIsUs()
{
    // The desktop's own list ("<desktop>-mimeapps.list") comes before the
    // common one; the first that names a default decides.
    QStringList lists;
    const QStringList desktops = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &desktop : desktops)
        lists << configHome() + QLatin1Char('/') + desktop.toLower() + QStringLiteral("-mimeapps.list");
    lists << mimeAppsPath();
    for (const QString &path : lists) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray id = MimeAppsList::defaultFor(file.readAll(), QByteArrayLiteral("x-scheme-handler/http"));
        if (!id.isEmpty())
            return id == desktopId().toUtf8();
    }
    return false;
}

bool DefaultBrowser::registerUs(const QString &programPath)
{
    const QByteArray entry = desktopEntry(programPath);
    if (entry.isEmpty() || !writeAtomically(desktopFilePath(), entry))
        return false;

    const QString listPath = mimeAppsPath();
    QByteArray content;
    QFile file(listPath);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            return false;
        content = file.readAll();
        file.close();
    }
    const QByteArray before = content;
    for (const char *type : kTypes)
        content = MimeAppsList::withDefault(content, QByteArray(type), desktopId().toUtf8());
    if (content == before && file.exists())
        return true;
    return writeAtomically(listPath, content);
}
