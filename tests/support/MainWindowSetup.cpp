#include "MainWindowSetup.h"

#include "Files.h"
#include "LoopbackServer.h"
#include "PackageCopy.h"
#include "ProgramFolder.h"
#include "frmMain.h"
#include "ucTabs.h"
#include "ucWeb.h"
#include "WaitUntil.h"

#include <QCoreApplication>
#include <QTest>
#include <QVariant>

#include <memory>
#include <QWebEnginePage>

using tessivane::frmMain;

frmMain *OpenMainWindow(const QString &folder, const QList<QPair<QString, QString>> &settings)
{
    if (!CopyPackage(folder))
        return nullptr;
    setProgramFolderOverride(folder);
    WriteSet(QStringLiteral("OnOpen"), QStringLiteral("3"));
    WriteSet(QStringLiteral("AutoDelete"), QStringLiteral("0"));
    for (const auto &s : settings)
        WriteSet(s.first, s.second);
    auto *w = new frmMain;
    if (!w->LoadTheme()) {
        delete w;
        return nullptr;
    }
    w->resize(900, 600);
    w->show();
    if (!QTest::qWaitForWindowExposed(w)) {
        delete w;
        return nullptr;
    }
    w->AddPage();
    return w;
}

int OpenTabCount(const frmMain *w)
{
    int n = 0;
    w->Tabs.forEach([&](int, ucTabs *) { ++n; });
    return n;
}

QString CurrentPageAddress(const frmMain *w)
{
    const ucWeb *page = w->Web(w->CurIdx);
    return page ? page->LocationURL() : QString();
}

QString PageUrl(const char *title)
{
    static LoopbackServer *server = [] {
        auto *s = new LoopbackServer(QCoreApplication::instance());
        return s->start() ? s : nullptr;
    }();
    if (!server)
        return QString();
    const QByteArray name(title);
    server->page("/" + name, "<html><head><title>" + name + "</title></head><body>" + name + "</body></html>");
    return server->url(QLatin1Char('/') + QLatin1String(title));
}

bool PageSettled(const frmMain *w, const char *title)
{
    const ucWeb *page = w->Web(w->CurIdx);
    if (!page || !page->LocationURL().contains(QLatin1String(title)) || page->LocationName() != QLatin1String(title))
        return false;
    const QWebEnginePage *document = page->Docoment();
    return document && !document->isLoading();
}

bool PageCaughtUp(ucWeb *page)
{
    QWebEnginePage *document = page ? page->Docoment() : nullptr;
    if (!document)
        return false;
    auto answered = std::make_shared<bool>(false);
    document->runJavaScript(QStringLiteral("0"), [answered](const QVariant &) { *answered = true; });
    return WaitUntil([&] { return *answered; }, 5000);
}

bool GoAndWait(frmMain *w, const char *title)
{
    w->WebGoTo(PageUrl(title));
    return WaitUntil([&] { return PageSettled(w, title); }, 15000);
}
