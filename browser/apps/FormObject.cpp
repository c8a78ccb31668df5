#include "FormObject.h"

#include "Variant.h"
#include "frmApp.h"

ScriptObject::Status FormObject::invoke(const QString &name, int access, VariantList &args, Variant &result,
                                        ScriptError &error)
{
    const bool known = sameName(name, QStringLiteral("UnloadForm")) || sameName(name, QStringLiteral("SetHtml"))
        || sameName(name, QStringLiteral("Caption")) || sameName(name, QStringLiteral("Tag"))
        || sameName(name, QStringLiteral("Visible"));
    if (!known)
        return UnknownName;
    if (!m_form)
        return fail(error, ScriptErrors::ObjectRequired);
    if (sameName(name, QStringLiteral("UnloadForm")) || sameName(name, QStringLiteral("SetHtml"))) {
        if (!(access & Call))
            return UnknownName;
        const bool setHtml = sameName(name, QStringLiteral("SetHtml"));
        if (args.size() != (setHtml ? 1 : 0))
            return fail(error, ScriptErrors::WrongArgCount);
        if (setHtml)
            m_form->SetHtml(args[0].toString());
        else
            m_form->UnloadForm();
        result = Variant();
        return Ok;
    }
    if (!args.isEmpty())
        return fail(error, ScriptErrors::WrongArgCount);
    const bool put = access & (Put | PutRef);
    if (sameName(name, QStringLiteral("Caption"))) {
        if (put)
            m_form->setWindowTitle(result.toString());
        else
            result = Variant::fromString(m_form->windowTitle());
    } else if (sameName(name, QStringLiteral("Tag"))) {
        if (put)
            m_form->Tag = result.toString();
        else
            result = Variant::fromString(m_form->Tag);
    } else {
        if (put)
            m_form->setVisible(result.toBool());
        else
            result = Variant::fromBool(m_form->isVisible());
    }
    return Ok;
}

QStringList FormObject::memberNames() const
{
    return {QStringLiteral("UnloadForm"), QStringLiteral("SetHtml"), QStringLiteral("Caption"),
            QStringLiteral("Tag"), QStringLiteral("Visible")};
}
