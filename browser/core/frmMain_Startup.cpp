#include "frmMain.h"

#include "AppEngines.h"
#include "AppPackages.h"
#include "DDESend.h"
#include "DefaultBrowser.h"
#include "FileName.h"
#include "Files.h"
#include "InstanceChannel.h"
#include "Main.h"
#include "MessageBoxes.h"
#include "Mouse.h"
#include "ProgramFolder.h"
#include "StartupLogic.h"
#include "Twips.h"
#include "VbCompat.h"

#include "ucWeb.h"
#include "WebProfile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QScreen>

namespace tessivane {

bool frmMain::Form_Load(const QString &commandLine, int *exitCode)
{
    CommandLine = commandLine;
    *exitCode = 0;

    // 1. Without its settings the browser cannot run.
    if (!QFileInfo::exists(toLocalPath(GetAppPath() + QStringLiteral("config.ini")))) {
        MsgBox(QStringLiteral("非常抱歉，出现了一个错误") + QStringLiteral("\r\n")
                   + QStringLiteral("浏览器没有发现配置文件，所以不能为你浏览"),
               MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("错误"));
        *exitCode = 1;
        return false;
    }

    // 2. A later start hands its request to the running instance and ends.
    // Most later starts have done so before the window was built (main);
    // this catches one that started at the same moment as the first.
    m_channel = new InstanceChannel(BrowserService(), this);
    if (!m_channel->listen()) {
        DDESend(BrowserService(), ForwardedCommand(commandLine));
        return false;
    }
    connect(m_channel, &InstanceChannel::requestReceived, this, &frmMain::Form_LinkExecute);

    // 3. The window's drop shadow is the window manager's on this platform.

    // 4. The theme; any failure ends the program.
    if (!LoadTheme()) {
        MsgBox(QStringLiteral("浏览器在加载主题时发生了一个错误，现在被迫关闭"), MsgButtons::Ok,
               MsgIcon::Exclamation, QStringLiteral("非常抱歉"));
        *exitCode = 1;
        return false;
    }

    // 5. The lock panel waits above the client area.
    SetTTop(picPass, -TScaleHeight(this));

    // 6. Show the window; the maximised size leaves the taskbar free.
    show();
    {
        const QScreen *scr = screen();
        const int screenH = scr ? scr->geometry().height() : 0;
        HookMaxSize(0, 0, 0, screenH - GetTaskBarH());
    }
    tmrKey->setEnabled(true);

    // 7. The zoom label; a value that is no number counts as 100.
    lblZmVl->setText(QString::number(ZoomSetting()) + QStringLiteral("%"));

    // 8. An expanded address bar takes the whole width.
    if (FlagOn(ReadSet(QStringLiteral("Addr")))) {
        SetTWidth(picAddr, TScaleWidth(this));
        Form_Resize();
    }

    // 9. Apps run in the safe subset.
    if (FlagOn(ReadSet(QStringLiteral("AppSafe"))))
        SetEngineTemplateSafe(true);

    // 10. The first tab, the start page and the command line.
    AddPage();
    GoStartPage();
    DoCmdLine();

    // 11.-13.
    if (FlagOn(ReadSet(QStringLiteral("AutoSet"))))
        SetDefBrowser(true);
    if (FlagOn(ReadSet(QStringLiteral("OpenPass"))))
        mnuMc_Click(10);
    if (FlagOn(ReadSet(QStringLiteral("Mouse")))) {
        mnuMc[11]->setChecked(true);
        HookMouse();
    }
    return true;
}

void frmMain::DoCmdLine()
{
    const QString cmd = CommandLine;
    if (cmd.isEmpty())
        return;
    AddPage();
    switch (ClassifyCommandLine(cmd)) {
    case CommandKind::Bookmark:
        WebGoTo(ReadTxt(cmd));
        break;
    case CommandKind::Package:
        AskInstallApp(StripArgument(cmd));
        break;
    default:
        WebGoTo(StripArgument(cmd));
        break;
    }
}

void frmMain::AskInstallApp(const QString &path)
{
    const MsgAnswer answer = MsgBox(QStringLiteral("您确定要安装应用 ") + GetFileName(path, false)
                                        + QStringLiteral("吗？"),
                                    MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("安装应用"), this);
    if (answer == MsgAnswer::Yes)
        InstallApp(path);
}

void frmMain::Form_LinkExecute(const QString &cmdStr)
{
    // Every request is accepted; a failing step is skipped.
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
    AddPage();
    if (cmdStr.startsWith(QStringLiteral("DDEOpen"))) {
        const QString s = StripArgument(cmdStr);
        const QString arg = StripArgument(cmdStr.mid(7));
        if (s.endsWith(QStringLiteral(".vkt")))
            WebGoTo(ReadTxt(arg));
        else if (s.endsWith(QStringLiteral(".zelp")))
            AskInstallApp(arg);
        else
            WebGoTo(arg);
    } else if (cmdStr == QStringLiteral("OpenNew")) {
        GoStartPage();
    }
}

void frmMain::GoStartPage()
{
    if (const std::optional<QString> address = StartPageAddress())
        WebGoTo(*address);
}

void frmMain::closeEvent(QCloseEvent *e)
{
    if (m_unloaded || Form_Unload()) {
        m_unloaded = true;
        e->accept();
        // Unloading every window ends running apps and closes app windows.
        QApplication::closeAllWindows();
        QApplication::quit();
    } else {
        e->ignore();
    }
}

bool frmMain::Form_Unload()
{
    const bool gestures = FlagOn(ReadSet(QStringLiteral("Mouse")));
    if (gestures)
        UnhookMouse();

    int open = 0;
    Web.forEach([&](int, ucWeb *) { ++open; });
    if (FlagOn(ReadSet(QStringLiteral("Unload"))) && open > 1) {
        const MsgAnswer answer = MsgBox(QStringLiteral("您的操作会关闭所有已经打开的标签页") + QStringLiteral("\r\n")
                                            + QStringLiteral("您确定要继续吗？"),
                                        MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("关闭多个标签页"), this);
        if (answer != MsgAnswer::Yes) {
            // The browser stays open: its gestures keep working.
            if (gestures)
                HookMouse();
            return false;
        }
    }

    WriteSet(QStringLiteral("LastPage"), StoredPageAddress(CurrentLocation()));
    WriteSet(QStringLiteral("Addr"), TWidth(picAddr) == 375 ? QStringLiteral("0") : QStringLiteral("1"));

    if (FlagOn(ReadSet(QStringLiteral("AutoDelete")))) {
        ClearHistory();
        QCoreApplication::processEvents();
        ClearInputHis();
    }
    return true;
}

void frmMain::SetDefBrowser(bool ask)
{
    if (ask && !DefaultBrowser::httpHandlerIsUs()) {
        const MsgAnswer answer = MsgBox(QStringLiteral("Tessivane 目前不是您的默认浏览器，是否把 Tessivane 设为默认？"),
                                        MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("不是默认浏览器"), this);
        if (answer != MsgAnswer::Yes)
            return;
    }
    // With the question answered, or without asking, every value is written
    // (again): a registration that exists already is renewed.
    DefaultBrowser::registerUs(GetAppPath() + QFileInfo(QCoreApplication::applicationFilePath()).fileName());
}

void frmMain::ClearHistory()
{
    // The engine's visited links and every page's back and forward history.
    WebProfile::clearBrowsingHistory();
}

QString frmMain::CurrentLocation() const
{
    const ucWeb *w = Web(CurIdx);
    return w ? w->LocationURL() : QString();
}

}  // namespace tessivane
