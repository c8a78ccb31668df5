#include "AppControl.h"

#include "AppEngines.h"
#include "AppHost.h"
#include "DwnHandOff.h"
#include "ScriptControl.h"
#include "Files.h"
#include "ScriptRunState.h"
#include "Variant.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>

void AppControl::AppSleep(qint32 dwMilliseconds)
{
    // The wait does not count against the engine's time-out; other events
    // (the task list ending this very app among them) run meanwhile.
    ScriptClockPause pause;
    QElapsedTimer clock;
    clock.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        // An app ended meanwhile (task list, its window, shutdown) wakes at
        // once, so that its script can stop and the stack unwind.
        if (EngineEnded())
            return;
        if (clock.elapsed() < dwMilliseconds)
            QThread::msleep(1);
    } while (clock.elapsed() < dwMilliseconds);
}

void AppControl::setEngine(ScriptControl *engine)
{
    m_engine = engine;
    m_hasEngine = true;
}

bool AppControl::EngineEnded() const
{
    return m_hasEngine && (m_engine.isNull() || AppEngines::Engine(scIndex) != m_engine.data());
}

void AppControl::GoToUrl(const QString &sUrl)
{
    if (AppHost *h = AppHosting::host())
        h->WebGoTo(sUrl);
}

void AppControl::AddTab()
{
    if (AppHost *h = AppHosting::host())
        h->AddPage();
}

QString AppControl::AppPath()
{
    return GetAppPath();
}

QString AppControl::GetFile(const QString &sPath)
{
    return ReadTxt(sPath);
}

void AppControl::OpenPassword()
{
    if (AppHost *h = AppHosting::host())
        h->ShowLock();
}

void AppControl::DelBrwHistory()
{
    if (AppHost *h = AppHosting::host())
        h->ClearHistory();
}

void AppControl::DelInuptHistory()
{
    ClearInputHis();
}

void AppControl::NewDownload(const QString &sUrl, const QString &sPath)
{
    HandDownloadToDunmora(sUrl, sPath);
}

void AppControl::EndApp()
{
    // An app that has ended already ends nothing more: its index may belong
    // to a later app by now.
    if (m_hasEngine && AppEngines::IndexOf(m_engine.data()) == 0)
        return;
    AppEngines::End(scIndex);
}

ScriptObject::Status AppControl::invoke(const QString &name, int access, VariantList &args, Variant &result,
                                        ScriptError &error)
{
    if (sameName(name, QStringLiteral("scIndex"))) {
        if (access & (Put | PutRef)) {
            scIndex = result.toLong();
            return Ok;
        }
        if (!args.isEmpty())
            return fail(error, ScriptErrors::WrongArgCount);
        result = Variant::fromLong(scIndex);
        return Ok;
    }
    struct Method
    {
        const char *name;
        int argc;
    };
    static const Method methods[] = {
        {"AppSleep", 1}, {"GoToUrl", 1}, {"AddTab", 0}, {"AppPath", 0}, {"GetFile", 1},
        {"OpenPassword", 0}, {"DelBrwHistory", 0}, {"DelInuptHistory", 0}, {"NewDownload", 2}, {"EndApp", 0},
    };
    int which = -1;
    for (int i = 0; i < int(std::size(methods)); ++i) {
        if (sameName(name, QLatin1String(methods[i].name)))
            which = i;
    }
    if (which < 0)
        return UnknownName;
    if (!(access & Call))
        return UnknownName; // a method, not a property
    if (args.size() != methods[which].argc)
        return fail(error, ScriptErrors::WrongArgCount);
    result = Variant();
    switch (which) {
    case 0: AppSleep(args[0].toLong()); break;
    case 1: GoToUrl(args[0].toString()); break;
    case 2: AddTab(); break;
    case 3: result = Variant::fromString(AppPath()); break;
    case 4: result = Variant::fromString(GetFile(args[0].toString())); break;
    case 5: OpenPassword(); break;
    case 6: DelBrwHistory(); break;
    case 7: DelInuptHistory(); break;
    case 8: NewDownload(args[0].toString(), args[1].toString()); break;
    case 9: EndApp(); break;
    default: break;
    }
    return Ok;
}

QStringList AppControl::memberNames() const
{
    return {QStringLiteral("scIndex"), QStringLiteral("AppSleep"), QStringLiteral("GoToUrl"),
            QStringLiteral("AddTab"), QStringLiteral("AppPath"), QStringLiteral("GetFile"),
            QStringLiteral("OpenPassword"), QStringLiteral("DelBrwHistory"), QStringLiteral("DelInuptHistory"),
            QStringLiteral("NewDownload"), QStringLiteral("EndApp")};
}
