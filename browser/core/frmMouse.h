#pragma once

#include "VbTimer.h"
#include "VbWidgets.h"

#include <QLine>
#include <QPoint>
#include <QRegion>
#include <QVector>
#include <QWidget>

namespace tessivane {

// The gesture window: covers the screen above every other window, lets the
// pointer through, draws the pointer's trail in the theme's active-tab colour
// and shows the name of the action the gesture selects. It exists only during
// a gesture. Only the trail and the name box are part of the window's shape,
// so it needs no compositing window manager to be see-through.
class frmMouse : public QWidget
{
    Q_OBJECT
public:
    explicit frmMouse(QWidget *parent = nullptr);

    VbTimer *tmrMouse = nullptr;   // trail, every 10 ms
    VbPictureBox *picTxt = nullptr; // name box, 1215 x 615 twips
    QWidget *shpTxt = nullptr;      // grey rectangle behind the name
    QLabel *lblTxt = nullptr;       // the name

    // Placement over the whole screen, stacking, colour and the first trail point.
    void Form_Load();
    // Shows the name of gesture SS; the empty gesture keeps the caption.
    void GetMouse(const QString &SS);
    // Forgets the trail drawn so far.
    void ClearTrail();
    void tmrMouse_Timer();

    const QVector<QLine> &Trail() const { return m_trail; }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    void UpdateShape();

    QPoint m_lastPt; // screen pixels
    QPoint m_curPt;
    QVector<QLine> m_trail; // window pixels
    QRegion m_trailRegion;
    long m_foreColor = 0;
};

}  // namespace tessivane
