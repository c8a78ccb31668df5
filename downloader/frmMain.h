#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

class ucDwnLst;
class VbImage;

namespace dunmora {

// Dunmora's window: frameless, centred, its own caption strip with the title
// and the minimise and close images, dragged by its surface, filled by the
// download list. It handles the start's request and every request a later
// start hands over, and asks before it closes.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);

    // The first start's request: shows the window and schedules the request.
    // False when the program is to end (a request that is neither "Show" nor
    // carries a download).
    bool Load(const QString &cmd);
    // A request handed over by a later start; the sender has been answered.
    // While a question is open the request waits for the answer: it is taken
    // then, unless the answer closed the window.
    void HandleRequest(const QString &CmdStr);

    ucDwnLst *list() const { return DW; }
    bool closing() const { return m_closing; }

protected:
    void closeEvent(QCloseEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    void imgCtrl_Click(int Index);
    void Drag(QMouseEvent *e);
    void TakeWaiting();

    VbImage *lblCaption = nullptr;
    VbImage *imgCtrl[2] = {nullptr, nullptr};
    VbImage *lblCtrl[2] = {nullptr, nullptr};
    ucDwnLst *DW = nullptr;

    bool m_closing = false;
    QStringList m_waiting; // requests that came while a question was open
    // Dragging by hand where the window manager cannot move the window.
    bool m_manualDrag = false;
    QPoint m_dragOffset;
};

}  // namespace dunmora
