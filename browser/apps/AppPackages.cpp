#include "AppPackages.h"

#include "AppHost.h"
#include "Apps.h"
#include "Clipboard.h"
#include "FileName.h"
#include "Files.h"
#include "Gbk.h"
#include "IniFile.h"
#include "MessageBoxes.h"
#include "PackageStaging.h"
#include "Processes.h"
#include "ProgramFolder.h"
#include "TextFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

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

QWidget *DialogOwner()
{
    AppHost *h = AppHosting::host();
    return h ? h->MainWindow() : nullptr;
}

void SlidePanel()
{
    if (AppHost *h = AppHosting::host())
        h->SlideAppPanel();
}

const QString kInstallErrorTitle = QStringLiteral("应用安装时错误");

// A staging folder "Apps\.zelp-XXXXXX" for one install, deleted with
// everything in it when the install is over (or the program ends first). App
// names never begin with ".", so it never meets an app's folder.
class Staging
{
public:
    Staging()
    {
        QTemporaryDir dir(toLocalPath(GetAppPath() + QStringLiteral("Apps\\")) + QStringLiteral(".zelp-XXXXXX"));
        if (dir.isValid()) {
            dir.setAutoRemove(false);
            m_local = dir.path();
        }
    }
    ~Staging()
    {
        if (!m_local.isEmpty())
            DelFile(m_local, false);
    }
    Staging(const Staging &) = delete;
    Staging &operator=(const Staging &) = delete;

    bool isValid() const { return !m_local.isEmpty(); }
    QString local() const { return m_local; }
    // The folder as the archive tool is given it: program folder style, with "\".
    QString stored() const
    {
        return GetAppPath() + QStringLiteral("Apps\\") + QFileInfo(m_local).fileName() + QStringLiteral("\\");
    }

private:
    QString m_local;
};

bool HasApp(const QString &name)
{
    return QFileInfo::exists(toLocalPath(GetAppPath() + QStringLiteral("Apps\\") + name));
}

// After the archive tool has ended with exitCode: puts the unpacked app in
// place and registers it. False when the package is refused; then nothing
// outside the staging folder has changed.
bool PlaceAndRegister(const Staging &staging, const QString &name, int exitCode)
{
    const QString appsFolder = GetAppPath() + QStringLiteral("Apps\\");
    const QString entry = name + QStringLiteral("\\") + name + QStringLiteral(".ini");
    if (exitCode != 0 || !StagedAppIsWhole(staging.local(), name))
        return false;
    // Every install asks for the page afresh: the answer is reset in the
    // unpacked ini before it takes the app's place.
    const QString stagedIni = staging.stored() + entry;
    WriteIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), QStringLiteral("0"), stagedIni);
    if (ReadIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), stagedIni) != QLatin1String("0"))
        return false;
    if (!MoveAppIntoPlace(staging.local(), toLocalPath(appsFolder), name))
        return false;

    const int count = AppCountFromText(ReadAppsIni(QStringLiteral("Count")));
    bool registered = false;
    for (int k = 1; k <= count && !registered; ++k)
        registered = ReadAppsIni(QStringLiteral("app") + QString::number(k)) == entry;
    if (!registered && count < kMaxAppNumber) {
        WriteAppsIni(QStringLiteral("Count"), QString::number(count + 1));
        const QString text = ReadTxt(AppsIniPath()) + QStringLiteral("app") + QString::number(count + 1)
            + QStringLiteral("=") + entry;
        WriteWholeText(AppsIniPath(), text + QStringLiteral("\r\n"));
    }
    return true;
}

// The last step of every install: the panel's glide, and for a refused
// package the message.
void EndInstall(const QString &name, bool ok, bool hadApp)
{
    SlidePanel();
    if (ok)
        return;
    QString text = QStringLiteral("应用 ") + name + QStringLiteral(" 安装失败：安装包已损坏或含有不允许的内容");
    if (hadApp)
        text += QStringLiteral("\r\n已安装的版本保持不变");
    MsgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, kInstallErrorTitle, DialogOwner());
}

} // namespace

QString AppsIniPath()
{
    return GetAppPath() + QStringLiteral("Apps\\Apps.ini");
}

QString AppIniPath(int n)
{
    const QString entry = ReadAppsIni(QStringLiteral("app") + QString::number(n));
    return AppNameOfEntry(entry).isEmpty() ? QString() : GetAppPath() + QStringLiteral("Apps\\") + entry;
}

bool IsAppName(const QString &name)
{
    if (name.isEmpty() || name.front().isSpace() || name.back().isSpace())
        return false;
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c == QLatin1Char('\\') || c == QLatin1Char('/')
            || c == QLatin1Char(':') || c == QLatin1Char('.'))
            return false;
    }
    // The entry <name>\<name>.ini is stored in GBK, and <name>.ini must be a
    // name the file system takes.
    const QByteArray stored = Gbk::encode(name);
    return Gbk::decode(stored) == name && QFile::encodeName(name + QStringLiteral(".ini")).size() <= 255;
}

QString AppNameOfEntry(const QString &entry)
{
    const int cut = entry.indexOf(QLatin1Char('\\'));
    if (cut < 0)
        return QString();
    const QString name = entry.left(cut);
    if (!IsAppName(name) || entry != name + QStringLiteral("\\") + name + QStringLiteral(".ini"))
        return QString();
    return name;
}

void InstallApp(const QString &path)
{
    const QString tool = ArchiveToolPath();
    if (!QFileInfo(toLocalPath(tool)).isFile()) {
        MsgBox(QStringLiteral("应用解压缩模块已被删除，无法正常安装应用"), MsgButtons::Ok, MsgIcon::Exclamation,
               kInstallErrorTitle, DialogOwner());
        return;
    }
    const QString name = GetFileName(path, false);
    const QString appsFolder = GetAppPath() + QStringLiteral("Apps\\");

    if (!IsAppName(name)) {
        SlidePanel();
        MsgBox(QStringLiteral("应用安装包的文件名不能用作应用的名称，应用未安装"), MsgButtons::Ok, MsgIcon::Exclamation,
               kInstallErrorTitle, DialogOwner());
        return;
    }

    // The same command for the app's own folder, for a user who unpacks by hand.
    Clipboard::setText(tool + QStringLiteral(" x \"") + path + QStringLiteral("\" \"") + appsFolder + name
                       + QStringLiteral("\""));

    auto staging = std::make_unique<Staging>();
    if (!staging->isValid()) {
        staging.reset();
        EndInstall(name, false, HasApp(name));
        return;
    }
    // The install goes on when the tool has ended. The staging folder is
    // gone before the user is told anything (and goes with the report when
    // the program ends first).
    const QStringList arguments = {QStringLiteral("x"), path, staging->stored()};
    Processes::startWatched(tool, arguments, true, QCoreApplication::instance(),
                            [staging = std::shared_ptr<Staging>(std::move(staging)), name](int exitCode) mutable {
                                const bool hadApp = HasApp(name);
                                const bool ok = PlaceAndRegister(*staging, name, exitCode);
                                staging.reset();
                                EndInstall(name, ok, hadApp);
                            });
}

void DelApp(int n)
{
    const int count = AppCountFromText(ReadAppsIni(QStringLiteral("Count")));
    const QString entry = ReadAppsIni(QStringLiteral("app") + QString::number(n));
    const QString name = AppNameOfEntry(entry);
    if (name.isEmpty())
        return;
    DelFile(GetAppPath() + QStringLiteral("Apps\\") + name, false);

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
