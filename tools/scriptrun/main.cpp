// scriptrun: runs a VBScript or JScript file through the script control with
// one host object, WScript, whose Echo prints its arguments separated by
// blanks and followed by a line break. A developer tool for the tests and
// benchmarks; not part of the program folder. --time prints the run time of
// the script (without the start of the program) to stderr.
#include "Gbk.h"
#include "ScriptControl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringDecoder>

#include <cstdio>

namespace {

void writeOut(FILE *f, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), f);
}

class WScriptObject : public ScriptObject
{
public:
    Status invoke(const QString &name, int access, VariantList &args, Variant &result,
                  ScriptError &error) override
    {
        if (sameName(name, QStringLiteral("Echo"))) {
            if (access == Get)
                return UnknownName;
            QString line;
            try {
                for (qsizetype i = 0; i < args.size(); ++i) {
                    if (i)
                        line += QLatin1Char(' ');
                    if (!args[i].isMissing())
                        line += args[i].displayText();
                }
            } catch (const ScriptException &e) {
                return fail(error, e.number, e.description);
            }
            line += QLatin1Char('\n');
            writeOut(stdout, line);
            result = Variant();
            return Ok;
        }
        if (sameName(name, QStringLiteral("ScriptName")) && !(access & (Put | PutRef))) {
            result = Variant::fromString(QStringLiteral("scriptrun"));
            return Ok;
        }
        return UnknownName;
    }
    QString typeName() const override { return QStringLiteral("Object"); }
    QStringList memberNames() const override { return {QStringLiteral("Echo")}; }
};

// Dialogs on a console: the prompt goes to stdout, the answer is OK / the default.
class ConsoleUi : public ScriptUi
{
public:
    int msgBox(const QString &prompt, int, const QString &) override
    {
        writeOut(stdout, prompt + QLatin1Char('\n'));
        return 1;
    }
    bool inputBox(const QString &prompt, const QString &, const QString &def, QString &answer) override
    {
        writeOut(stdout, prompt + QLatin1Char('\n'));
        answer = def;
        return true;
    }
};

QString decodeScript(const QByteArray &raw)
{
    QByteArray bytes = raw;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return Gbk::decode(bytes);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString lang = QStringLiteral("VBScript");
    QString file;
    int timeout = 0;
    bool showTime = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--lang") && i + 1 < args.size()) {
            const QString l = args[++i].toLower();
            lang = l.startsWith(QLatin1String("j")) ? QStringLiteral("JScript") : QStringLiteral("VBScript");
        } else if (a == QLatin1String("--time")) {
            showTime = true;
        } else if (a == QLatin1String("--timeout") && i + 1 < args.size()) {
            timeout = args[++i].toInt();
        } else {
            file = a;
        }
    }
    if (file.isEmpty()) {
        writeOut(stderr, QStringLiteral("usage: scriptrun [--lang vbscript|jscript] [--timeout ms] [--time] FILE\n"));
        return 2;
    }
    if (file.endsWith(QLatin1String(".js"), Qt::CaseInsensitive) && !args.contains(QStringLiteral("--lang")))
        lang = QStringLiteral("JScript");
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        writeOut(stderr, QStringLiteral("cannot read %1\n").arg(file));
        return 2;
    }
    const QString code = decodeScript(f.readAll());

    ConsoleUi ui;
    ScriptControl sc;
    sc.setLanguage(lang);
    sc.setTimeout(timeout);
    sc.setUi(&ui);
    sc.addObject(QStringLiteral("WScript"), ObjectRef(new WScriptObject), false);
    QElapsedTimer clock;
    clock.start();
    const bool ok = sc.addCode(code);
    const qint64 ns = clock.nsecsElapsed();
    std::fflush(stdout);
    if (showTime)
        writeOut(stderr, QStringLiteral("time: %1\n").arg(double(ns) / 1e9, 0, 'f', 4));
    if (!ok) {
        const ScriptError &e = sc.error();
        writeOut(stderr, QStringLiteral("Error %1: %2 (line %3, column %4)\n")
                             .arg(e.number).arg(e.description).arg(e.line).arg(e.column));
        return 1;
    }
    return 0;
}
