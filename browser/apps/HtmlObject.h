#pragma once

#include "ScriptObject.h"

#include <QPointer>
#include "WebView.h"



// The object "Html" of an app with a window: the window's web view. Members:
// Navigate(url), Refresh, GoBack, GoForward, Stop, LocationURL, LocationName,
// Document (the page's document object, as "Url" gives the tab's; Nothing
// before anything has loaded).
// After the window has closed every member raises "object required".
class HtmlObject : public ScriptObject
{
public:
    explicit HtmlObject(WebView *view);
    Status invoke(const QString &name, int access, VariantList &args, Variant &result, ScriptError &error) override;
    QStringList memberNames() const override;
    QString typeName() const override { return QStringLiteral("WebBrowser"); }

private:
    QPointer<WebView> m_view;
};
