#include "PageDialogCloseWatch.h"

#include "PageDialog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {
xcb_atom_t internAtom(xcb_connection_t *c, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

// Waits, one event-loop turn at a time, until no page dialog is up any more,
// so that the close runs outside every dialog's nested loop.
void closeLater(QPointer<QWidget> window)
{
    QTimer::singleShot(0, qApp, [window] {
        if (!window) {
            PageDialog::release();
            return;
        }
        if (PageDialog::openCount() > 0) {
            closeLater(window);
            return;
        }
        window->close();
        if (window && window->isVisible())
            PageDialog::release();
    });
}
} // namespace

PageDialogCloseWatch::PageDialogCloseWatch(unsigned protocolsAtom, unsigned deleteAtom)
    : m_protocols(protocolsAtom), m_delete(deleteAtom)
{
}

bool PageDialogCloseWatch::install()
{
    static bool installed = false;
    if (installed)
        return true;
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return false;
    xcb_connection_t *c = x11->connection();
    const xcb_atom_t protocols = internAtom(c, "WM_PROTOCOLS");
    const xcb_atom_t del = internAtom(c, "WM_DELETE_WINDOW");
    if (protocols == XCB_ATOM_NONE || del == XCB_ATOM_NONE)
        return false;
    qApp->installNativeEventFilter(new PageDialogCloseWatch(protocols, del));
    installed = true;
    return true;
}

void PageDialogCloseWatch::closeWhenFree(QWidget *window)
{
    PageDialog::holdAll();
    closeLater(window);
}

bool PageDialogCloseWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || PageDialog::openCount() == 0)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
        return false;
    const auto *cm = reinterpret_cast<const xcb_client_message_event_t *>(event);
    if (cm->format != 32 || cm->type != m_protocols || cm->data.data32[0] != m_delete)
        return false;
    QWidget *window = QWidget::find(WId(cm->window));
    if (!window || !window->isWindow() || qobject_cast<PageDialog *>(window))
        return false;
    closeWhenFree(window);
    return true;
}
