#pragma once

// What one page may do on its own: how many script dialogs it shows and how
// many windows it opens. Its allowances start afresh only when the browser
// itself sends the page somewhere (a typed address, the toolbar, a tile, an
// app), and only once the new document is there: a page cannot renew them by
// navigating or reloading itself, and the document being left keeps its
// limits until it is gone.
//
// Dialogs: every one is shown; from the second on, the dialog offers to stop
// further dialogs of this page, and once the user did, the page's dialogs are
// answered at once as cancelled.
//
// Windows: a window asked for by a click or a key press always opens (the
// engine grants one per gesture). Without a gesture a page opens at most
// kWindowsWithoutGesture windows per navigation the browser started; a page
// that was itself opened as a new window and has not been sent anywhere by
// the browser since opens none without a gesture, so pages cannot open one
// another without end.
class PageGuard
{
public:
    static constexpr int kWindowsWithoutGesture = 2;

    // The browser sends the page somewhere: allowances start afresh with the
    // next document.
    void browserNavigates() { m_renewPending = true; }
    // A new document begins in the page's main frame; true when the page's
    // allowances started afresh with it.
    bool documentCreated();

    // The user asked to stop this page's dialogs.
    bool dialogsStopped() const { return m_dialogsStopped; }
    void stopDialogs() { m_dialogsStopped = true; }
    // Counts a dialog about to be shown; true when it offers the box that
    // stops further dialogs.
    bool countDialog();

    // A page asks for a new window: whether it gets it (counted when it does).
    bool allowWindow(bool userGesture);
    // Windows the page may still open without a gesture.
    int windowsLeft() const { return m_windowsLeft; }

private:
    int m_dialogs = 0;
    bool m_dialogsStopped = false;
    int m_windowsLeft = 0;
    bool m_renewPending = false;
};
