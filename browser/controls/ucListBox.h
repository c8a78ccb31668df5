#pragma once

#include "ControlArray.h"
#include "ucListBoxSource.h"
#include "VbWidgets.h"

#include <QStringList>
#include <QWidget>

// The drop-down under the address box: a go-to row, a search row, a row that
// counts the installed apps whose name contains the typed text, and up to
// nine matching entries of the typed-address history. The host calls EnterTxt
// for each change of the typed text and ChangeSelect for the arrow keys, and
// acts on Selected and SeledSearch at Enter or at MouseClicked.
// Geometry is in twips; every row is one selection bar high.
class ucListBox : public QWidget
{
    Q_OBJECT
public:
    explicit ucListBox(QWidget *parent = nullptr);

    // Height of the selection bar and so of every row.
    static constexpr double H = 495;

    long BackColor() const { return m_backColor; }
    void setBackColor(long color);
    long SelColor() const { return m_selColor; }
    void setSelColor(long color);
    long ForeColor() const { return m_foreColor; }
    // Applies to the go-to, search and app rows and to the history rows made later.
    void setForeColor(long color);

    // The text to use for the selected row: the typed text for the three
    // fixed rows, the entry for a history row.
    QString Selected() const { return m_selected; }
    // True when the selected row is the search row.
    bool SeledSearch() const { return m_seledSearch; }

    // Fills the list for txt and preselects a row: the first history match,
    // else the go-to row when txt holds ".", "/" or ":", else the search row.
    void EnterTxt(const QString &txt);
    // 0 moves the selection one row up, any other value one row down.
    void ChangeSelect(int upOrDown);

    // The grid row on which the selection bar stands (its top / H, rounded).
    int selRow() const;
    // Number of history rows shown.
    int hisRowCount() const { return m_hisRows; }

    VbImage *lblSel = nullptr;
    VbImage *lblGoto = nullptr;
    VbImage *lblSrch = nullptr;
    VbImage *lblApp = nullptr;
    ControlArray<VbImage> lblHis;
    VbImage *imgGoto = nullptr;
    VbImage *imgSrch = nullptr;
    VbImage *imgHis = nullptr;

signals:
    // The mouse was released on the selection bar and the row under it taken;
    // the host treats it as Enter in the address box.
    void MouseClicked();
    // A colour property was assigned ("BackColor", "SelColor", "ForeColor").
    void propertyChanged(const QString &name);

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    // A press on a row the bar does not stand on moves the bar there; the
    // press then goes on as one on the bar, so the release takes that row.
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    void lblSel_MouseDown(int button, int shift, double x, double y);
    void lblSel_MouseMove(int button, int shift, double x, double y);
    void lblSel_MouseUp(int button, int shift, double x, double y);

    VbImage *makeRowLabel(const QString &caption, double left, double top);
    void setCaption(VbImage *label, const QString &caption, bool tooltip);
    // The typed text (the go-to row's tag).
    QString typedText() const { return m_tag; }
    // Selection for a grid row; rows without a history entry behind them
    // (the template's row included) take the typed text.
    void takeRow(int row);
    void setBarRow(int row);
    double barTop() const;

    long m_backColor = 0xFEDCC0;
    long m_selColor = 0xFFCB9B;
    long m_foreColor = 0x000000;
    QString m_selected;
    bool m_seledSearch = false;
    double m_selY = 0;
    QString m_tag;
    QString m_hisLst;
    QString m_appLst;
    ucListBoxSource m_source;
    int m_hisRows = 0;
    // A press on the list outside the bar is under way.
    bool m_listPress = false;
};
