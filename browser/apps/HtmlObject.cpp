#include "HtmlObject.h"

#include "PageObject.h"
#include "Variant.h"
#include "WebView.h"

ScriptObject::Status HtmlObject::invoke(const QString &name, int access, VariantList &args, Variant &result,
                                        ScriptError &error)
{
    static const char *const methods[] = {"Navigate", "Refresh", "GoBack", "GoForward", "Stop"};
    static const char *const props[] = {"LocationURL", "LocationName", "Document"};
    int method = -1;
    int prop = -1;
    for (int i = 0; i < 5; ++i) {
        if (sameName(name, QLatin1String(methods[i])))
            method = i;
    }
    for (int i = 0; i < 3; ++i) {
        if (sameName(name, QLatin1String(props[i])))
            prop = i;
    }
    if (method < 0 && prop < 0)
        return UnknownName;
    if (!m_view)
        return fail(error, ScriptErrors::ObjectRequired);
    if (prop >= 0) {
        if (access & (Put | PutRef))
            return fail(error, ScriptErrors::NotSupported);
        if (prop == 2) {
            // The document of the window's page, as "Url" is the current tab's.
            PageObject *doc = m_view->hasDocument() ? PageObject::document(m_view->pageObject()) : nullptr;
            result = Variant::fromObject(ObjectRef(doc));
            return Ok;
        }
        result = Variant::fromString(prop == 0 ? m_view->locationUrl() : m_view->title());
        return Ok;
    }
    if (!(access & Call))
        return UnknownName;
    if (args.size() != (method == 0 ? 1 : 0))
        return fail(error, ScriptErrors::WrongArgCount);
    switch (method) {
    case 0: m_view->navigate(args[0].toString()); break;
    case 1: m_view->refresh(); break;
    case 2: m_view->goBack(); break;
    case 3: m_view->goForward(); break;
    default: m_view->stopLoad(); break;
    }
    result = Variant();
    return Ok;
}

QStringList HtmlObject::memberNames() const
{
    return {QStringLiteral("Navigate"), QStringLiteral("Refresh"), QStringLiteral("GoBack"),
            QStringLiteral("GoForward"), QStringLiteral("Stop"), QStringLiteral("LocationURL"),
            QStringLiteral("LocationName"), QStringLiteral("Document")};
}

HtmlObject::HtmlObject(WebView *view)
    : m_view(view)
{
}
