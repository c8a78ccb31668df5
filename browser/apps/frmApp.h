#pragma once

#include <QPointer>
#include <QWidget>

class ScriptControl;
class WebView;

// An app's own window: a fixed-size window without a close button showing the
// app's HTML page in WbHtml. Its Tag holds the index of its app's engine;
// closing it ends that app through the script's own AppControl.EndApp.
class frmApp : public QWidget
{
    Q_OBJECT
public:
    explicit frmApp(QWidget *parent = nullptr);
    ~frmApp() override;

    WebView *WbHtml = nullptr;
    QString Tag;

    // The engine the window was made for: a later app that got the same
    // index after this one ended is not ended by closing this window.
    void setEngine(ScriptControl *engine);

    // Closes the window.
    void UnloadForm();
    // Navigates WbHtml to the page at sHtmPath (a file path or an address).
    void SetHtml(const QString &sHtmPath);

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    QPointer<ScriptControl> m_engine;
    bool m_hasEngine = false;
    bool m_endSent = false;
};
