#pragma once

#include "ControlArray.h"
#include "ucDownload.h"

#include <QString>
#include <QWidget>

class QScrollBar;
class VbImage;
class VbPictureBox;

// The download list that fills Dunmora's window: a header with the download
// picture and "清空列表", the rows stacked in index order below it, and a
// scroll bar once they no longer fit.
class ucDwnLst : public QWidget
{
    Q_OBJECT
public:
    explicit ucDwnLst(QWidget *parent = nullptr);

    // Adds a row at the end and starts its transfer; returns when that
    // transfer has ended.
    void AddNewDwn(const QString &sUrl, const QString &sPath);
    // Aborts every row's transfer (the window is closing).
    void StopAll();

    const ControlArray<ucDownload> &rows() const { return Dwner; }
    QScrollBar *scrollBar() const { return sroDwn; }

private:
    void Dwner_DwnRemoved(int Index);
    void lblClear_Click();
    void sroDwn_Change(int value);
    void RfshDwn();
    void SizeScroll();
    void ReleaseRow(int Index);

    ControlArray<ucDownload> Dwner;
    VbPictureBox *picDwn = nullptr;
    VbImage *imgDwIco = nullptr;
    VbImage *lblClear = nullptr;
    VbPictureBox *picDLst = nullptr;
    QScrollBar *sroDwn = nullptr;
};
