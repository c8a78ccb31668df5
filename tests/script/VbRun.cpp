#include "VbRun.h"

namespace {

class EchoObject : public ScriptObject
{
public:
    explicit EchoObject(QString *out) : m_out(out) {}
    Status invoke(const QString &name, int access, VariantList &args, Variant &result, ScriptError &error) override
    {
        if (!sameName(name, QStringLiteral("Echo")) || access == Get)
            return UnknownName;
        try {
            for (qsizetype i = 0; i < args.size(); ++i) {
                if (i)
                    *m_out += QLatin1Char(' ');
                if (!args[i].isMissing())
                    *m_out += args[i].displayText();
            }
        } catch (const ScriptException &e) {
            return fail(error, e.number, e.description);
        }
        *m_out += QLatin1Char('\n');
        result = Variant();
        return Ok;
    }

private:
    QString *m_out;
};

} // namespace

std::string runVb(const char *code)
{
    QString out;
    ScriptControl sc;
    sc.setLanguage(QStringLiteral("VBScript"));
    sc.setTimeout(20000);
    sc.setAllowUI(false);
    sc.addObject(QStringLiteral("WScript"), ObjectRef(new EchoObject(&out)), false);
    if (!sc.addCode(QString::fromUtf8(code)))
        out += QStringLiteral("Error %1 (line %2)\n").arg(sc.error().number).arg(sc.error().line);
    return out.toStdString();
}

std::string evalVb(const char *expression)
{
    ScriptControl sc;
    sc.setLanguage(QStringLiteral("VBScript"));
    sc.setAllowUI(false);
    bool ok = false;
    const Variant v = sc.eval(QString::fromUtf8(expression), &ok);
    if (!ok)
        return QStringLiteral("Error %1").arg(sc.error().number).toStdString();
    try {
        return (VariantNames::typeName(v) + QLatin1Char(' ') + v.displayText()).toStdString();
    } catch (const ScriptException &e) {
        return QStringLiteral("Error %1").arg(e.number).toStdString();
    }
}
