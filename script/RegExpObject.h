#pragma once

#include "Variant.h"

#include <QRegularExpression>

// "VBScript.RegExp" (also New RegExp): Pattern, IgnoreCase, Global,
// MultiLine, Test, Execute (a Matches collection of Match objects with
// SubMatches) and Replace with $1..$99, $&, $`, $' and $$ in the replacement.
class RegExpObject : public ScriptObject
{
public:
    Status invoke(const QString &name, int access, VariantList &args, Variant &result,
                  ScriptError &error) override;
    QString typeName() const override { return QStringLiteral("IRegExp2"); }

    // Builds the expression; raises 5017 for a pattern that does not compile.
    QRegularExpression compiled() const;
    // Replacement text for one match with the $ escapes expanded.
    static QString expand(const QString &replacement, const QRegularExpressionMatch &m, const QString &subject);

private:
    QString m_pattern;
    bool m_ignoreCase = false;
    bool m_global = false;
    bool m_multiLine = false;
};

// One element of a Matches collection.
class RegExpMatch : public ScriptObject
{
public:
    Status invoke(const QString &name, int access, VariantList &args, Variant &result,
                  ScriptError &error) override;
    QString typeName() const override { return QStringLiteral("IMatch2"); }

    QString value;
    int firstIndex = 0;
    VariantList subMatches;
};

// Matches and SubMatches: Count, Item(i) (the default), For Each.
class RegExpCollection : public ScriptObject
{
public:
    explicit RegExpCollection(const QString &typeName) : m_typeName(typeName) {}
    Status invoke(const QString &name, int access, VariantList &args, Variant &result,
                  ScriptError &error) override;
    Status enumerate(VariantList &items, ScriptError &error) override;
    QString typeName() const override { return m_typeName; }

    VariantList items;

private:
    QString m_typeName;
};
