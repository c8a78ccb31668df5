#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>

class QTimer;
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
    // Returns when the request's transfer has ended. While a question is open
    // the request waits for the answer: it is taken then, unless the answer
    // closed the window.
    void HandleRequest(const QString &CmdStr);
    // The same, from the instance channel: the request waits its turn and is
    // taken from the event loop that runs next, so that any number of
    // requests arriving together each start at once, the later ones inside
    // the transfers of the earlier ones.
    void QueueRequest(const QString &CmdStr);

    // Requests taken from the queue nest inside each other's transfers; past
    // this depth the next one waits until the nested ones have returned, so
    // that a burst of thousands cannot exhaust the stack.
    static constexpr int kMaxNestedRequests = 128;
    int requestDepth() const { return m_requestDepth; }

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
    void TakeRequest();

    VbImage *lblCaption = nullptr;
    VbImage *imgCtrl[2] = {nullptr, nullptr};
    VbImage *lblCtrl[2] = {nullptr, nullptr};
    ucDwnLst *DW = nullptr;

    bool m_closing = false;
    QStringList m_waiting; // requests not taken yet, in arrival order
    QTimer *tmrRequest = nullptr;
    int m_requestDepth = 0;
    // Dragging by hand where the window manager cannot move the window.
    bool m_manualDrag = false;
    QPoint m_dragOffset;
};

}  // namespace dunmora
