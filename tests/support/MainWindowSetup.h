#pragma once

#include <QList>
#include <QPair>
#include <QString>

class ucWeb;
namespace tessivane {
class frmMain;
}

// Copies the shipped program folder into folder, makes it the program folder,
// writes a blank start page (OnOpen 3), AutoDelete 0 and then the given
// settings, and opens the main window (900 x 600, theme loaded, shown) with
// one tab. nullptr when a step fails. The caller deletes the window.
tessivane::frmMain *OpenMainWindow(const QString &folder, const QList<QPair<QString, QString>> &settings = {});

// Open tabs of the window (the template not counted).
int OpenTabCount(const tessivane::frmMain *w);
// The address of the current tab ("" when there is none).
QString CurrentPageAddress(const tessivane::frmMain *w);
// The address of a page titled title (plain ASCII) on this program's loopback
// server. The pages share one site, so that going from one to the next keeps
// the engine's page process.
QString PageUrl(const char *title);
// Whether the current tab shows the page titled title, loaded to its end.
bool PageSettled(const tessivane::frmMain *w, const char *title);
// Waits until the page's engine has answered a script (5 s at most). What the
// page was told before, a navigation say, has been taken up by then: a load
// it started has been reported. False when no answer came.
bool PageCaughtUp(ucWeb *page);
// Navigates the current tab to a page titled title and waits until it has
// settled there (15 s at most); false when it never did.
bool GoAndWait(tessivane::frmMain *w, const char *title);
