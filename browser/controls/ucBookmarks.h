#pragma once

#include "ControlArray.h"
#include "VbWidgets.h"

#include <QWidget>

class QLineEdit;
class ucCmdBtn;
class QScrollBar;

// The bookmarks panel: a header, a save box for naming a new bookmark and a
// scrollable list of the saved bookmarks (the ".vkt" files of the bookmark
// folder) with a draggable selection bar and a delete image. It reports to
// its host only by its two events; the host saves, opens and glides it.
// Geometry is in twips.
class ucBookmarks : public QWidget
{
    Q_OBJECT
public:
    explicit ucBookmarks(QWidget *parent = nullptr);

    // Hides the save box and builds the list again from the bookmark folder.
    void GetBookmarks();
    // Shows the save box with sCap as the proposed name.
    void ShowSave(const QString &sCap);

    // Number of rows in the list.
    int rowCount() const { return lblItems.ubound(); }

    VbPictureBox *picBM = nullptr;    // header
    VbImage *imgBMIco = nullptr;      // header icon
    VbImage *lblTitle = nullptr;      // header caption "书签"
    VbPictureBox *picSave = nullptr;  // save box
    QLineEdit *txtCap = nullptr;      // name of the bookmark to save
    ucCmdBtn *btnAdd = nullptr;       // "添加书签"
    VbPictureBox *picBMLst = nullptr; // the list
    ControlArray<VbImage> lblItems;   // rows; element 0 the hidden template
    VbImage *lblSel = nullptr;        // selection bar; Tag in m_selTag
    VbImage *imgDel = nullptr;        // delete image
    QScrollBar *sroBM = nullptr;      // scrolls the list

    // The selection bar's Tag: the selected row number as text ("" until a row is clicked).
    QString selTag() const { return m_selTag; }
    // A row's Tag: the full path of its bookmark file.
    QString itemTag(int Index) const;

    // Event handlers, public so that the host's tests can drive them as the mouse would.
    void lblItems_Click(int Index);
    void lblItems_DblClick(int Index);
    void lblSel_MouseMove(int Button, int Shift, double X, double Y);
    void lblSel_MouseUp(int Button, int Shift, double X, double Y);
    void imgDel_Click();
    void btnAdd_Click();
    void sroBM_Change();

signals:
    void BookmarkOpened(const QString &bmPath);
    void BookmarkAdded(const QString &bmCaption);

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    // Width 4830; height of header and save box while the save box shows, else 5670.
    void UserControl_Resize();
    VbImage *makeRow(int Index);
    void centreDel();

    double m_selY = 0;
    QString m_selTag;
    bool m_resizing = false;
    // A double click on a row delivers a second release; it is not a click.
    int m_dblClickRow = -1;
};
