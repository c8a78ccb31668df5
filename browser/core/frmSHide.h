#pragma once

#include "VbWidgets.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <array>

namespace tessivane {

class frmMain;

// The quick-hide window: while the quick-hide mode is on it stands in for the
// whole browser as a small always-on-top picture in the bottom-right corner of
// the screen, like an input method's status bar; typing the key SHKey on it
// brings the browser back. It also carries the script engines of the running
// apps, so unloading it ends them all.
//
// The window is loaded on first use (Load) and exists until Unload; Loaded()
// never loads it. The app host loads it before its first engine and ends
// every engine when it sends unloading().
class frmSHide : public QWidget
{
    Q_OBJECT
public:
    // The loaded window, loading it (hidden) first when there is none.
    static frmSHide *Load();
    // The loaded window, or null.
    static frmSHide *Loaded();
    // Unloads the window: hidden at once, deleted later; the engines it
    // carries end with it, and the quick-hide mode with it (the windows it
    // hid come back). The next Load builds a fresh window.
    static void Unload();

    // ---- pictures ----
    // imgSH(0..2) the built-in pictures, imgSH(3) the user's own (SHCustom;
    // a null picture when it could not be loaded).
    std::array<QPixmap, 4> imgSH;
    // The picture the window shows (null when SuperHide chose none).
    QPixmap Picture() const { return m_picture; }

    // ---- script engines of the running apps ----
    // The app host keeps its control array of engines (SC, element 0 the
    // template) here, so that the engines live exactly as long as the window.
    // Unload() deletes the window and with it every child it holds.

    // Placement, picture and stacking; every step that fails is skipped.
    void Form_Load();
    // Leaves the quick-hide mode when KeyAscii, as one character, is SHKey.
    void Form_KeyPress(int KeyAscii);
    void Form_KeyPressText(const QString &typed);

signals:
    // Before the window goes: the engines it carries must end.
    void unloading();

protected:
    void paintEvent(QPaintEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    explicit frmSHide(QWidget *parent = nullptr);
    QPixmap m_picture;
    static QPointer<frmSHide> s_loaded;
};

}  // namespace tessivane
