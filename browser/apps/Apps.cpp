#include "Apps.h"

#include "Files.h"
#include "Gbk.h"
#include "IniFile.h"
#include "ProgramFolder.h"
#include "VbCompat.h"

#include "AppControl.h"
#include "AppEngines.h"
#include "AppHost.h"
#include "AppPackages.h"
#include "FormObject.h"
#include "HtmlObject.h"
#include "MessageBoxes.h"
#include "PageObject.h"
#include "ScriptControl.h"
#include "frmApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>

#include <cmath>

namespace {
const QString kSep = QStringLiteral("@@");

// One registry value from the file's bytes, read whole like every ini value.
QString RegistryValue(const QByteArray &content, const QString &key)
{
    return Gbk::decode(IniFile::readRaw(content, QStringLiteral("Apps"), key));
}
} // namespace

int AppCountFromText(const QString &countText)
{
    const auto n = ToNumber(countText);
    if (!n || *n < 1)
        return 0;
    // The walk runs "for k = 1 to Count": a fractional bound stops at its whole part.
    const double whole = std::floor(*n);
    return whole > kMaxAppNumber ? kMaxAppNumber : int(whole);
}

int AppWalkCount()
{
    const int count = AppCountFromText(ReadAppsIni(QStringLiteral("Count")));
    if (count == 0)
        return 0;
    QFile file(toLocalPath(AppsIniPath()));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    int highest = 0;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.size() < 4 || qstrnicmp(line.constData(), "app", 3) != 0)
            continue;
        const int eq = line.indexOf('=');
        if (eq < 0)
            continue;
        bool ok = false;
        const int k = line.mid(3, eq - 3).trimmed().toInt(&ok);
        if (ok && k > highest)
            highest = k;
    }
    return qMin(count, highest);
}

QString FindApps(const QString &txt)
{
    // The registry is read once per search; each app's ini file once.
    QFile file(toLocalPath(AppsIniPath()));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray content = file.readAll();
    file.close();

    const QString needle = txt.toLower();
    const int count = AppCountFromText(RegistryValue(content, QStringLiteral("Count")));
    QString result;
    for (int k = 1; k <= count; ++k) {
        // An entry that names no app's own ini is not read: its name is empty.
        const QString entry = RegistryValue(content, QStringLiteral("app") + QString::number(k));
        const QString name = AppNameOfEntry(entry).isEmpty()
            ? QString()
            : ReadIni(QStringLiteral("App"), QStringLiteral("Name"), GetAppPath() + QStringLiteral("Apps\\") + entry);
        if (name.toLower().contains(needle))
            result += name + kSep;
    }
    return result;
}

QString AppFile(const QString &value)
{
    const QString root = QDir::cleanPath(toLocalPath(GetAppPath()));
    const QString full = QDir::cleanPath(toLocalPath(GetAppPath() + value));
    if (!full.startsWith(root + QLatin1Char('/')))
        return QString();
    const QFileInfo info(full);
    if (info.exists()) {
        const QString canonRoot = QFileInfo(root).canonicalFilePath();
        if (!info.canonicalFilePath().startsWith(canonRoot + QLatin1Char('/')))
            return QString();
    }
    return GetAppPath() + value;
}

namespace {

QString ErrorText(const QString &name, const QString &description, int line, int column)
{
    return QStringLiteral("应用 ") + name + QStringLiteral(" 运行时出现错误\r\n错误信息: ") + description
        + QStringLiteral("\r\n行 ") + QString::number(line) + QStringLiteral(" 列 ") + QString::number(column);
}

// A number read from the app's ini as the script host reads it: a missing
// or non-numeric value is a type mismatch.
bool IniNumber(const QString &ini, const QString &key, double *out)
{
    const auto n = ToNumber(ReadIni(QStringLiteral("App"), key, ini));
    if (!n)
        return false;
    *out = *n;
    return true;
}

} // namespace

QString RunApp(const QString &iniPath)
{
    const QString name = ReadIni(QStringLiteral("App"), QStringLiteral("Name"), iniPath);
    const QString type = ReadIni(QStringLiteral("App"), QStringLiteral("Type"), iniPath).toLower();
    QString language;
    if (type == QLatin1String("vbscript"))
        language = QStringLiteral("VBScript");
    else if (type == QLatin1String("javascript"))
        language = QStringLiteral("JScript");
    if (language.isEmpty()) {
        const QString file = AppFile(ReadIni(QStringLiteral("App"), QStringLiteral("Url"), iniPath));
        const QString url = file.isEmpty() ? QString() : ReadTxt(file);
        if (AppHost *h = AppHosting::host())
            h->WebGoTo(url);
        return QString();
    }

    const QString scriptFile = AppFile(ReadIni(QStringLiteral("App"), QStringLiteral("Script"), iniPath));
    const QString script = scriptFile.isEmpty() ? QString() : ReadTxt(scriptFile);
    if (script.isEmpty())
        return QString();

    const int index = AppEngines::Load();
    if (index < 0)
        return ErrorText(name, QStringLiteral("溢出"), 0, 0);
    QPointer<ScriptControl> sc = AppEngines::Engine(index);
    // An app ended while the queue was pumped has left the list at once and
    // is freed later: its script must not start.
    const auto ended = [&sc, index] { return !sc || AppEngines::Engine(index) != sc; };
    sc->setLanguage(language);
    sc->setTag(name);
    sc->reset();

    const QString typeMismatch = QStringLiteral("类型不匹配");
    double useExtent = 0;
    if (!IniNumber(iniPath, QStringLiteral("UseExtent"), &useExtent))
        return ErrorText(name, typeMismatch, 0, 0);
    if (useExtent == 1) {
        double allowed = 0;
        if (!IniNumber(iniPath, QStringLiteral("AllowedExt"), &allowed))
            return ErrorText(name, typeMismatch, 0, 0);
        if (allowed == 0) {
            AppHost *h = AppHosting::host();
            const MsgAnswer answer = MsgBox(QStringLiteral("应用 ") + name
                                                + QStringLiteral(" 请求控制您的网页。确认运行该应用吗？\r\n（您的选择将会被记住，以后将不再询问）"),
                                            MsgButtons::YesNo, MsgIcon::Exclamation, QStringLiteral("请求权限"),
                                            h ? h->MainWindow() : nullptr);
            if (answer != MsgAnswer::Yes)
                return QString();
            WriteIni(QStringLiteral("App"), QStringLiteral("AllowedExt"), QStringLiteral("1"), iniPath);
        }
        AppHost *h = AppHosting::host();
        QObject *doc = h ? h->PageDocument() : nullptr;
        // Reaching the page waits for it: anything may run meanwhile.
        const ObjectRef page = doc ? ObjectRef(PageObject::document(doc)) : ObjectRef();
        if (ended())
            return QString();
        sc->addObject(QStringLiteral("Url"), page, true);
    }

    double hasUi = 0;
    if (!IniNumber(iniPath, QStringLiteral("HasUI"), &hasUi))
        return ErrorText(name, typeMismatch, 0, 0);
    if (hasUi == 1 && sc) {
        auto *form = new frmApp();
        form->show();
        form->Tag = QString::number(index);
        form->setEngine(sc);
        const QString ui = AppFile(ReadIni(QStringLiteral("App"), QStringLiteral("UI"), iniPath));
        if (!ui.isEmpty())
            form->SetHtml(ui);
        sc->addObject(QStringLiteral("Form"), ObjectRef(new FormObject(form)), true);
        sc->addObject(QStringLiteral("Html"), ObjectRef(new HtmlObject(form->WbHtml)), true);
    }

    if (!sc)
        return QString();
    {
        ObjectRef control(new AppControl());
        static_cast<AppControl *>(control.get())->scIndex = index;
        static_cast<AppControl *>(control.get())->setEngine(sc);
        sc->addObject(QStringLiteral("AppControl"), control, true);
    }

    QCoreApplication::processEvents();
    if (ended())
        return QString();

    if (!sc->addCode(script)) {
        // An app that ended itself (or was ended meanwhile) stopped its
        // script on purpose: that is no failure.
        if (!sc || AppEngines::Engine(index) != sc)
            return QString();
        // Line and column of the last error of the engine at the highest index.
        const ScriptError err = sc->error();
        ScriptControl *last = AppEngines::Engine(AppEngines::UBound());
        const ScriptError pos = last ? last->error() : err;
        return ErrorText(name, err.description, pos.line, pos.column);
    }
    return QString();
}

void RunLoadApps()
{
    const int count = AppWalkCount();
    for (int k = 1; k <= count; ++k) {
        const QString ini = AppIniPath(k);
        if (ini.isEmpty())
            continue;
        const auto onLoad = ToNumber(ReadIni(QStringLiteral("App"), QStringLiteral("OnLoad"), ini));
        if (onLoad && *onLoad == 1)
            RunApp(ini);
    }
}
