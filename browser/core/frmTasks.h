#pragma once

#include "ControlArray.h"
#include "VbTimer.h"
#include "VbWidgets.h"

#include <QWidget>

#include <array>

class QScrollBar;
class ucCmdBtn;

namespace tessivane {

// The task manager: a small frameless window listing the running apps (the
// loaded script engines) by name, refreshed every 500 ms while visible, with
// "结束任务" ending the selected one. Dragged by its own surface.
class frmTasks : public QWidget
{
    Q_OBJECT
public:
    explicit frmTasks(QWidget *parent = nullptr);
    ~frmTasks() override;

    // The one task manager: made and shown on first use; later calls show the
    // open one again (restored when minimised) and bring it to the front.
    // Closing it deletes it.
    static frmTasks *Open();

    VbImage *lblCaption = nullptr;
    std::array<VbImage *, 2> imgCtrl{}; // close (0), minimise (1)
    std::array<VbImage *, 2> lblCtrl{}; // their pressed look
    VbPictureBox *picTasks = nullptr;   // list viewport
    VbPictureBox *picLst = nullptr;     // list content
    ControlArray<VbImage> lblTasks;     // rows; element 0 the hidden template
    VbImage *lblSel = nullptr;          // selection bar; Tag = selected row number
    QString lblSelTag = QStringLiteral("1");
    QScrollBar *sroApp = nullptr;
    VbPictureBox *picNone = nullptr;
    VbImage *lblShow = nullptr;
    ucCmdBtn *btnRfsh = nullptr;
    ucCmdBtn *btnEndTsk = nullptr;
    VbTimer *tmrRfsh = nullptr;

    // Rebuilds the list from the loaded engines.
    void RfshLst();
    // Ends the app of the selected row, then refreshes.
    void btnEndTsk_Click();
    void lblTasks_Click(int Index);

    // The engine index a row stands for (its Tag), 0 when the row is missing.
    int RowEngine(int row) const;

    // The scroll bar's value as the list knows it: 0 at the top, down to a
    // negative value at the bottom, the list content's Top.
    int sroAppValue() const;
    void setSroAppValue(int value);

protected:
    // Dragging by the window's own surface.
    void mousePressEvent(QMouseEvent *e) override;
};

}  // namespace tessivane
