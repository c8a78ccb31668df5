#include "RegExpObject.h"

QRegularExpression RegExpObject::compiled() const
{
    QRegularExpression::PatternOptions opts = QRegularExpression::NoPatternOption;
    if (m_ignoreCase)
        opts |= QRegularExpression::CaseInsensitiveOption;
    if (m_multiLine)
        opts |= QRegularExpression::MultilineOption;
    QRegularExpression re(m_pattern, opts);
    if (!re.isValid())
        throwScriptError(5017);
    return re;
}

QString RegExpObject::expand(const QString &rep, const QRegularExpressionMatch &m, const QString &subject)
{
    QString out;
    for (qsizetype i = 0; i < rep.size(); ++i) {
        const QChar c = rep[i];
        if (c != QLatin1Char('$') || i + 1 >= rep.size()) {
            out += c;
            continue;
        }
        const QChar n = rep[i + 1];
        if (n == QLatin1Char('$')) {
            out += QLatin1Char('$');
            ++i;
        } else if (n == QLatin1Char('&')) {
            out += m.captured(0);
            ++i;
        } else if (n == QLatin1Char('`')) {
            out += subject.left(m.capturedStart(0));
            ++i;
        } else if (n == QLatin1Char('\'')) {
            out += subject.mid(m.capturedEnd(0));
            ++i;
        } else if (n.isDigit()) {
            int group = n.digitValue();
            qsizetype used = 1;
            if (i + 2 < rep.size() && rep[i + 2].isDigit()) {
                const int two = group * 10 + rep[i + 2].digitValue();
                if (two <= m.lastCapturedIndex()) {
                    group = two;
                    used = 2;
                }
            }
            if (group == 0 || group > m.regularExpression().captureCount()) {
                out += c;
                continue;
            }
            out += m.captured(group);
            i += used;
        } else {
            out += c;
        }
    }
    return out;
}

ScriptObject::Status RegExpObject::invoke(const QString &nameIn, int access, VariantList &args, Variant &result,
                                          ScriptError &error)
{
    const QString name = nameIn.toLower();
    const bool put = access & (Put | PutRef);
    try {
        auto boolProp = [&](bool &field) {
            if (put)
                field = result.toBool();
            else
                result = Variant::fromBool(field);
            return Ok;
        };
        if (name == QLatin1String("pattern")) {
            if (put)
                m_pattern = result.toString();
            else
                result = Variant::fromString(m_pattern);
            return Ok;
        }
        if (name == QLatin1String("ignorecase"))
            return boolProp(m_ignoreCase);
        if (name == QLatin1String("global"))
            return boolProp(m_global);
        if (name == QLatin1String("multiline"))
            return boolProp(m_multiLine);
        if (put || access == Get)
            return UnknownName;
        if (name == QLatin1String("test")) {
            if (args.size() != 1)
                return fail(error, ScriptErrors::WrongArgCount);
            const QString s = args[0].isNull() ? QString() : args[0].toString();
            result = Variant::fromBool(compiled().match(s).hasMatch());
            return Ok;
        }
        if (name == QLatin1String("execute")) {
            if (args.size() != 1)
                return fail(error, ScriptErrors::WrongArgCount);
            const QString s = args[0].isNull() ? QString() : args[0].toString();
            const QRegularExpression re = compiled();
            auto *coll = new RegExpCollection(QStringLiteral("IMatchCollection2"));
            ObjectRef keep(coll);
            auto addMatch = [&](const QRegularExpressionMatch &m) {
                auto *mm = new RegExpMatch;
                mm->value = m.captured(0);
                mm->firstIndex = int(m.capturedStart(0));
                for (int g = 1; g <= re.captureCount(); ++g) {
                    if (m.capturedStart(g) < 0)
                        mm->subMatches.push_back(Variant());
                    else
                        mm->subMatches.push_back(Variant::fromString(m.captured(g)));
                }
                coll->items.push_back(Variant::fromObject(ObjectRef(mm)));
            };
            if (m_global) {
                auto it = re.globalMatch(s);
                int guard = 0;
                while (it.hasNext() && ++guard < 10000000)
                    addMatch(it.next());
            } else {
                const QRegularExpressionMatch m = re.match(s);
                if (m.hasMatch())
                    addMatch(m);
            }
            result = Variant::fromObject(keep);
            return Ok;
        }
        if (name == QLatin1String("replace")) {
            if (args.size() != 2)
                return fail(error, ScriptErrors::WrongArgCount);
            const QString s = args[0].isNull() ? QString() : args[0].toString();
            const QString rep = args[1].isNull() ? QString() : args[1].toString();
            const QRegularExpression re = compiled();
            QString out;
            qsizetype last = 0;
            auto apply = [&](const QRegularExpressionMatch &m) {
                out += s.mid(last, m.capturedStart(0) - last);
                out += expand(rep, m, s);
                last = m.capturedEnd(0);
            };
            if (m_global) {
                auto it = re.globalMatch(s);
                while (it.hasNext())
                    apply(it.next());
            } else {
                const QRegularExpressionMatch m = re.match(s);
                if (m.hasMatch())
                    apply(m);
            }
            out += s.mid(last);
            result = Variant::fromString(out);
            return Ok;
        }
    } catch (const ScriptException &e) {
        return fail(error, e.number, e.description);
    }
    return UnknownName;
}

ScriptObject::Status RegExpMatch::invoke(const QString &nameIn, int access, VariantList &args, Variant &result,
                                         ScriptError &error)
{
    if (access & (Put | PutRef))
        return UnknownName;
    const QString name = nameIn.isEmpty() ? QStringLiteral("value") : nameIn.toLower();
    if (name == QLatin1String("value")) {
        result = Variant::fromString(value);
    } else if (name == QLatin1String("firstindex")) {
        result = Variant::fromLong(firstIndex);
    } else if (name == QLatin1String("length")) {
        result = Variant::fromLong(std::int32_t(value.size()));
    } else if (name == QLatin1String("submatches")) {
        auto *c = new RegExpCollection(QStringLiteral("ISubMatches"));
        c->items = subMatches;
        ObjectRef keep(c);
        if (!args.isEmpty()) // m.SubMatches(1): the item of the collection
            return c->invoke(QString(), Get, args, result, error);
        result = Variant::fromObject(keep);
    } else {
        return UnknownName;
    }
    return Ok;
}

ScriptObject::Status RegExpCollection::invoke(const QString &nameIn, int access, VariantList &args, Variant &result,
                                              ScriptError &error)
{
    if (access & (Put | PutRef))
        return UnknownName;
    const QString name = nameIn.isEmpty() ? QStringLiteral("item") : nameIn.toLower();
    try {
        if (name == QLatin1String("count")) {
            result = Variant::fromLong(std::int32_t(items.size()));
            return Ok;
        }
        if (name == QLatin1String("item")) {
            if (args.size() != 1)
                return fail(error, ScriptErrors::WrongArgCount);
            const int i = args[0].toLong();
            if (i < 0 || i >= items.size())
                return fail(error, ScriptErrors::InvalidCall);
            result = items[i];
            return Ok;
        }
    } catch (const ScriptException &e) {
        return fail(error, e.number, e.description);
    }
    return UnknownName;
}

ScriptObject::Status RegExpCollection::enumerate(VariantList &out, ScriptError &)
{
    out = items;
    return Ok;
}
