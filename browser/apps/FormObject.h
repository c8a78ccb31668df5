#pragma once

#include "ScriptObject.h"

#include <QPointer>

class frmApp;

// The object "Form" of an app with a window: the app's frmApp. Members:
// UnloadForm, SetHtml(path), Caption (read and write), Tag, Visible.
// After the window has closed every member raises "object required".
class FormObject : public ScriptObject
{
public:
    explicit FormObject(frmApp *form) : m_form(form) {}
    Status invoke(const QString &name, int access, VariantList &args, Variant &result, ScriptError &error) override;
    QStringList memberNames() const override;
    QString typeName() const override { return QStringLiteral("frmApp"); }

private:
    QPointer<frmApp> m_form;
};
