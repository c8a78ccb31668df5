#pragma once

#include "VbTimer.h"
#include "VbWidgets.h"
#include "ucCmdBtn.h"

#include <QDialog>
#include <QPoint>

#include <array>

namespace tessivane {

class frmMain;

// The About window: borderless and modal; its banner panel and its text panel
// glide in from opposite sides, its two links open the maker's pages in a new
// tab of the main window.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(frmMain *main, QWidget *parent = nullptr);

    // The maker's web site (link 0) and discussion board (any other link).
    static QString WebAddress(int Index);

    VbImage *lblCaption = nullptr;
    VbImage *imgCtrl = nullptr;    // close button
    VbImage *lblCtrl = nullptr;    // red square while the close button is held
    VbPictureBox *picFrm = nullptr; // banner panel
    VbImage *imgAbout = nullptr;
    VbPictureBox *picTxts = nullptr; // text panel
    std::array<VbImage *, 6> lblShow{};
    std::array<VbImage *, 2> lblWeb{};
    ucCmdBtn *cmdOK = nullptr;
    VbTimer *tmrSTxts = nullptr;

    void Form_Load();
    void tmrSTxts_Timer();
    void Form_MouseMove(int Button, int Shift, double X, double Y);
    void imgCtrl_MouseDown();
    void imgCtrl_MouseUp();
    void imgCtrl_Click();
    void cmdOK_Click();
    void lblWeb_Click(int Index);
    // Closes the window (the modal wait ends).
    void UnloadMe();

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;

private:
    VbImage *MakeLabel(QWidget *parent, const QString &text, long color, double left, double top, double width,
                       double height, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter);
    // Moves the window with the pointer while the left button is held.
    void DragWindow(const QPoint &globalPos);

    frmMain *m_main = nullptr;
    QPoint m_dragOffset;
    bool m_systemMoveTried = false;
};

}  // namespace tessivane
