#include "AppPackages.h"

#include "AppHost.h"
#include "Apps.h"
#include "Clipboard.h"
#include "FileName.h"
#include "Files.h"
#include "MessageBoxes.h"
#include "Processes.h"
#include "ProgramFolder.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <memory>

namespace {

QString ArchiveToolPath()
{
    return GetAppPath() + QStringLiteral("rar");
}

void WriteWholeText(const QString &path, const QString &text)
{
    TextFile::writeWhole(toLocalPath(path), text);
}

// The archive tool runs on after the install returns and may write the app's
// ini file after "AllowedExt" has been reset, bringing back the package's own
// value. For a while after a new install the reset is repeated whenever the
// file says otherwise, until the user has answered the page prompt.
constexpr int kGuardMs = 20000;
constexpr int kGuardStepMs = 200;

QSet<QString> &GuardedInis()
{
    static QSet<QString> s;
    return s;
}

void GuardAllowedExt(const QString &ini)
{
    GuardedInis().insert(ini);
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    auto *timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(kGuardStepMs);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, ini, elapsed] {
        if (!GuardedInis().contains(ini) || elapsed->elapsed() > kGuardMs) {
            GuardedInis().remove(ini);
            timer->stop();
            timer->deleteLater();
            return;
        }
        if (QFileInfo::exists(toLocalPath(ini))
            && ReadIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), ini) != QLatin1String("0"))
            WriteIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), QStringLiteral("0"), ini);
    });
    timer->start();
}

} // namespace

void AppAllowedExtAnswered(const QString &ini)
{
    GuardedInis().remove(ini);
}

QString AppsIniPath()
{
    return GetAppPath() + QStringLiteral("Apps\\Apps.ini");
}

QString AppIniPath(int n)
{
    const QString entry = ReadAppsIni(QStringLiteral("app") + QString::number(n));
    return entry.isEmpty() ? QString() : GetAppPath() + QStringLiteral("Apps\\") + entry;
}

QString AppFolderOfEntry(const QString &entry)
{
    const int cut = entry.indexOf(QLatin1Char('\\'));
    const QString folder = cut < 0 ? entry : entry.left(cut);
    if (folder.isEmpty() || folder == QLatin1String(".") || folder == QLatin1String("..")
        || folder.contains(QLatin1Char('/')) || folder.contains(QLatin1Char(':'))
        || folder.trimmed().isEmpty())
        return QString();
    return folder;
}

void InstallApp(const QString &path)
{
    const QString tool = ArchiveToolPath();
    if (!QFileInfo(toLocalPath(tool)).isFile()) {
        MsgBox(QStringLiteral("应用解压缩模块已被删除，无法正常安装应用"), MsgButtons::Ok, MsgIcon::Exclamation,
               QStringLiteral("应用安装时错误"), AppHosting::host() ? AppHosting::host()->MainWindow() : nullptr);
        return;
    }
    const QString name = GetFileName(path, false);
    const QString appsFolder = GetAppPath() + QStringLiteral("Apps\\");

    // The same command for the app's own folder, for a user who unpacks by hand.
    Clipboard::setText(tool + QStringLiteral(" x \"") + path + QStringLiteral("\" \"") + appsFolder + name
                       + QStringLiteral("\""));

    Processes::startDetached(tool, {QStringLiteral("x"), path, appsFolder}, true);

    const QString entry = name + QStringLiteral("\\") + name + QStringLiteral(".ini");
    const int count = AppCountFromText(ReadAppsIni(QStringLiteral("Count")));
    bool registered = false;
    for (int k = 1; k <= count && !registered; ++k)
        registered = ReadAppsIni(QStringLiteral("app") + QString::number(k)) == entry;

    // A name that cannot be a folder of its own is not registered: its entry
    // would let an uninstall reach outside "Apps\".
    if (!registered && !AppFolderOfEntry(entry).isEmpty() && count < kMaxAppNumber) {
        WriteAppsIni(QStringLiteral("Count"), QString::number(count + 1));
        const QString text = ReadTxt(AppsIniPath()) + QStringLiteral("app") + QString::number(count + 1)
            + QStringLiteral("=") + entry;
        WriteWholeText(AppsIniPath(), text + QStringLiteral("\r\n"));
        QCoreApplication::processEvents();
        QThread::msleep(100);
        const QString ini = appsFolder + entry;
        WriteIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), QStringLiteral("0"), ini);
        GuardAllowedExt(ini);
    }

    if (AppHost *h = AppHosting::host())
        h->SlideAppPanel();
}

void DelApp(int n)
{
    const int count = AppCountFromText(ReadAppsIni(QStringLiteral("Count")));
    const QString entry = ReadAppsIni(QStringLiteral("app") + QString::number(n));
    if (entry.isEmpty())
        return;
    const QString folder = AppFolderOfEntry(entry);
    if (!folder.isEmpty())
        DelFile(GetAppPath() + QStringLiteral("Apps\\") + folder, false);

    QStringList kept;
    for (int k = 1; k <= count; ++k) {
        if (k != n)
            kept << ReadAppsIni(QStringLiteral("app") + QString::number(k));
    }
    QString text = QStringLiteral("[Apps]\r\nCount=") + QString::number(kept.size()) + QStringLiteral("\r\n");
    for (int k = 0; k < kept.size(); ++k)
        text += QStringLiteral("app") + QString::number(k + 1) + QStringLiteral("=") + kept.at(k) + QStringLiteral("\r\n");
    WriteWholeText(AppsIniPath(), text);

    if (AppHost *h = AppHosting::host())
        h->RfshApps();
}

QString GetAppAbout(int n)
{
    const QString ini = AppIniPath(n);
    if (ini.isEmpty())
        return QString();
    return ReadIni(QStringLiteral("App"), QStringLiteral("About"), ini);
}
