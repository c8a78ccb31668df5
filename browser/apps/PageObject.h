#pragma once

#include "ScriptObject.h"

#include <QPointer>

class QObject;
class QWebEnginePage;

// The object "Url": the page document kept for the apps and every element,
// collection or other object reached from it. The document lives in the web
// engine's process: each member access runs a small script in the page (in a
// world of its own, so the page's scripts do not see it) and waits for the
// answer. Objects are kept in a table inside the page and known here by their
// number there. Plain values (text, numbers, booleans) come back as such;
// functions are called; anything else comes back as another PageObject.
// When the page has gone or navigated away, members raise "object required".
class PageObject : public ScriptObject
{
public:
    // The document of page (a QWebEnginePage).
    static PageObject *document(QObject *page);

    Status invoke(const QString &name, int access, VariantList &args, Variant &result, ScriptError &error) override;
    Status enumerate(VariantList &items, ScriptError &error) override;
    QString typeName() const override { return QStringLiteral("HTMLDocument"); }

private:
    PageObject(QWebEnginePage *page, int id, const QString &generation);
    // Runs body in the page with `o` bound to this object; body leaves its
    // answer in `r`. Returns false when the page did not answer.
    bool runInPage(const QString &body, const QString &argsJson, QVariant *answer);
    Status toVariant(const QVariant &answer, Variant &result, ScriptError &error);

    QPointer<QWebEnginePage> m_page;
    int m_id = 0;
    QString m_generation; // the document the table belongs to
};
