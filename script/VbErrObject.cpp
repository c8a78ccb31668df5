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
            result = Variant();
        } else if (n == QLatin1String("raise")) {
            if (args.isEmpty())
                return fail(error, ScriptErrors::WrongArgCount);
            const int num = args[0].toLong();
            if (num == 0)
                return fail(error, ScriptErrors::InvalidCall);
            error.number = num;
            error.source = args.size() > 1 && !args[1].isMissing() ? args[1].toString() : ScriptErrors::runtimeSource();
            if (args.size() > 2 && !args[2].isMissing())
                error.description = args[2].toString();
            else {
                error.description = ScriptErrors::description(num);
                if (error.description.isEmpty())
                    error.description = QStringLiteral("未知的运行时错误");
            }
            if (args.size() > 3 && !args[3].isMissing())
                helpFile = args[3].toString();
            return Failed;
        } else {
            return UnknownName;
        }
    } catch (const ScriptException &e) {
        return fail(error, e.number, e.description);
    }
    return Ok;
}
