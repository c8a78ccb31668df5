#pragma once

#include <QAbstractNativeEventFilter>

class QWidget;

// Closing a window while a page dialog is up. Qt drops the window manager's
// close request for a window that a modal dialog blocks, so a page that
// keeps opening dialogs would hold the window open. This filter sees the
// request first (X11: WM_DELETE_WINDOW): it holds the page dialogs, waits
// until the last one has returned, and then closes the window as if nothing
// had been up. When the window stays open (its own question said No), the
// page dialogs are released again.
class PageDialogCloseWatch : public QAbstractNativeEventFilter
{
public:
    // Installs the filter on the application once; false without X11.
    static bool install();

    // Holds the page dialogs and closes window once they have returned.
    static void closeWhenFree(QWidget *window);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    PageDialogCloseWatch(unsigned protocolsAtom, unsigned deleteAtom);

    unsigned m_protocols = 0;
    unsigned m_delete = 0;
};
