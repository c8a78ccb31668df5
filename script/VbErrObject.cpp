#include "VbErrObject.h"

ScriptObject::Status VbErrObject::invoke(const QString &name, int access, VariantList &args, Variant &result,
                                         ScriptError &error)
{
    const QString n = name.isEmpty() ? QStringLiteral("number") : name.toLower();
    const bool put = access & (Put | PutRef);
    try {
        if (n == QLatin1String("number")) {
            if (put) number = result.toLong(); else result = Variant::fromLong(number);
        } else if (n == QLatin1String("description")) {
            if (put) description = result.toString(); else result = Variant::fromString(description);
        } else if (n == QLatin1String("source")) {
            if (put) source = result.toString(); else result = Variant::fromString(source);
        } else if (n == QLatin1String("helpfile")) {
            if (put) helpFile = result.toString(); else result = Variant::fromString(helpFile);
        } else if (n == QLatin1String("helpcontext")) {
            if (put) helpContext = result.toLong(); else result = Variant::fromLong(helpContext);
        } else if (access == Get && (n == QLatin1String("clear") || n == QLatin1String("raise"))) {
            return UnknownName;
        } else if (n == QLatin1String("clear")) {
            number = 0;
            description.clear();
            source.clear();
            helpFile.clear();
            helpContext = 0;
            raised = false;
            result = Variant();
        } else if (n == QLatin1String("raise")) {
            if (args.isEmpty())
                return fail(error, ScriptErrors::WrongArgCount);
            int num = args[0].toLong();
            if (num == 0)
                return fail(error, ScriptErrors::InvalidCall);
            // the runtime's own errors as an HRESULT (&H800A0000 + n) are error n
            if ((quint32(num) & 0xFFFF0000u) == 0x800A0000u)
                num = int(quint32(num) & 0xFFFFu);
            auto given = [&](int i) { return args.size() > i && !args[i].isMissing(); };
            // what is not given keeps the value the fields still hold
            const QString src = given(1) ? args[1].toString() : source;
            QString text = given(2) ? args[2].toString() : description;
            const QString file = given(3) ? args[3].toString() : helpFile;
            const int context = given(4) ? args[4].toLong() : helpContext;
            if (text.isEmpty()) {
                text = ScriptErrors::description(num);
                if (text.isEmpty())
                    text = QStringLiteral("未知的运行时错误");
            }
            number = num;
            source = src.isEmpty() ? ScriptErrors::runtimeSource() : src;
            description = text;
            helpFile = file;
            helpContext = context;
            raised = true;
            error.number = number;
            error.source = source;
            error.description = description;
            return Failed;
        } else {
            return UnknownName;
        }
    } catch (const ScriptException &e) {
        return fail(error, e.number, e.description);
    }
    return Ok;
}
