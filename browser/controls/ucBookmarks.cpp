#include "ucBookmarks.h"

#include "BookmarkFiles.h"
#include "FileName.h"
#include "Files.h"
#include "MessageBoxes.h"
#include "ResPicture.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "VbCompat.h"
#include "ucCmdBtn.h"

#include <QApplication>
#include <QPointer>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScrollBar>

namespace {
constexpr long kBack = 0xEBEBEB;
constexpr long kSelBack = 0xE0E0E0;
constexpr double kWidth = 4830;
constexpr double kFullHeight = 5670;
constexpr double kRowLeft = 120;
constexpr double kRowOffset = 120;
constexpr double kRowHeight = 255;
// Row captions end before the delete image.
constexpr double kRowMaxWidth = 3720;
const char *const kTagProperty = "Tag";

VbPictureBox *MakeBox(QWidget *parent, double l, double t, double w, double h)
{
    auto *p = new VbPictureBox(parent);
    p->setBackColor(kBack);
    TwipsMove(p, l, t, w, h);
    return p;
}
} // namespace

ucBookmarks::ucBookmarks(QWidget *parent)
    : QWidget(parent)
{
    setFont(UiFont());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, VbColor(kBack));
    setPalette(pal);

    // The list lies under the header, so that it scrolls away beneath it.
    picBMLst = MakeBox(this, 0, 1200, 4815, 0);

    lblSel = new VbImage(picBMLst);
    lblSel->setBackColor(kSelBack);
    TwipsMove(lblSel, 0, 0, 4815, 495);
    connect(lblSel, &VbImage::mouseMove, this, &ucBookmarks::lblSel_MouseMove);
    connect(lblSel, &VbImage::mouseUp, this, &ucBookmarks::lblSel_MouseUp);

    auto *tmpl = new VbImage(picBMLst);
    tmpl->setTextFormat(Qt::PlainText);
    tmpl->setTransparentBack();
    tmpl->setFont(UiFont(9));
    tmpl->setText(QStringLiteral("BookMark 1"));
    TwipsMove(tmpl, kRowLeft, kRowOffset, kRowMaxWidth, kRowHeight);
    tmpl->hide();
    lblItems.setTemplate(tmpl);
    lblItems.setFactory([this](int Index) { return makeRow(Index); });

    imgDel = new VbImage(picBMLst);
    imgDel->setAlignment(Qt::AlignCenter);
    imgDel->setPixmap(ResPicture(QStringLiteral("imgDel")));
    imgDel->setCursor(Qt::PointingHandCursor);
    TwipsMove(imgDel, 3960, 0, 375, 375);
    connect(imgDel, &VbImage::clicked, this, &ucBookmarks::imgDel_Click);

    picBM = MakeBox(this, 0, 0, 4815, 1215);
    imgBMIco = new VbImage(picBM);
    imgBMIco->setPictureAutoSize(ResPicture(QStringLiteral("imgBMIco")));
    TwipsMove(imgBMIco, 120, 75, 1200, 1065);
    lblTitle = new VbImage(picBM);
    lblTitle->setFont(UiFont(42));
    lblTitle->setText(QStringLiteral("书签"));
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    TwipsMove(lblTitle, 1440, 0, 3255, 1215);

    picSave = MakeBox(this, 0, 1200, 4815, 1695);
    txtCap = new QLineEdit(picSave);
    txtCap->setFont(UiFont(12));
    TwipsMove(txtCap, 120, 120, 4695, 375);
    btnAdd = new ucCmdBtn(QStringLiteral("添加书签"), picSave);
    TwipsMove(btnAdd, 2400, 840, 2175, 615);
    connect(btnAdd, &ucCmdBtn::Click, this, &ucBookmarks::btnAdd_Click);

    sroBM = new QScrollBar(Qt::Vertical, this);
    TwipsMove(sroBM, 4560, 1200, 255, 4455);
    sroBM->hide();
    connect(sroBM, &QScrollBar::valueChanged, this, &ucBookmarks::sroBM_Change);

    // UserControl_Initialize
    centreDel();
    TwipsMove(this, 0, 0, kWidth, kFullHeight);
    UserControl_Resize();
}

VbImage *ucBookmarks::makeRow(int Index)
{
    const VbImage *tmpl = lblItems.at(0);
    auto *l = new VbImage(picBMLst);
    l->setTextFormat(Qt::PlainText);
    l->setTransparentBack();
    l->setFont(tmpl->font());
    l->setCursor(Qt::PointingHandCursor);
    TwipsMove(l, TLeft(tmpl), TTop(tmpl), TWidth(tmpl), THeight(tmpl));
    connect(l, &VbImage::clicked, this, [this, Index] { lblItems_Click(Index); });
    connect(l, &VbImage::dblClick, this, [this, Index] { lblItems_DblClick(Index); });
    return l;
}

QString ucBookmarks::itemTag(int Index) const
{
    const VbImage *l = lblItems.at(Index);
    return l ? l->property(kTagProperty).toString() : QString();
}

void ucBookmarks::centreDel()
{
    SetTTop(imgDel, (THeight(lblSel) - THeight(imgDel)) / 2 + TTop(lblSel));
}

void ucBookmarks::UserControl_Resize()
{
    const double h = picSave->isHidden() ? kFullHeight : THeight(picSave) + THeight(picBM);
    if (TWidth(this) == kWidth && THeight(this) == h)
        return;
    m_resizing = true;
    SetTWidth(this, kWidth);
    SetTHeight(this, h);
    m_resizing = false;
}

void ucBookmarks::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    // The host may give any size; the panel keeps its own.
    if (!m_resizing)
        UserControl_Resize();
}

void ucBookmarks::ShowSave(const QString &sCap)
{
    txtCap->setText(sCap);
    picSave->show();
    picSave->raise();
    UserControl_Resize();
}

void ucBookmarks::GetBookmarks()
{
    picSave->hide();
    UserControl_Resize();

    const QStringList files = BookmarkFileNames();
    for (int k = lblItems.ubound(); k >= 1; --k)
        lblItems.unload(k);

    const double H = THeight(lblSel);
    const VbImage *tmpl = lblItems.at(0);
    int j = 0;
    for (const QString &file : files) {
        if (j + 1 > ControlArray<VbImage>::kMaxIndex)
            break;
        ++j;
        VbImage *row = lblItems.load(j);
        if (!row)
            break;
        TwipsMove(row, TLeft(tmpl), H * (j - 1) + kRowOffset);
        const QString caption = GetFileName(file, false);
        row->setText(caption);
        const double textWidth = PxToTwips(row->fontMetrics().horizontalAdvance(caption) + 2);
        SetTWidth(row, qMin(textWidth, kRowMaxWidth));
        row->setProperty(kTagProperty, BookmarkFolder() + file);
        row->show();
        row->raise();
    }
    imgDel->raise();

    SetTHeight(picBMLst, (lblItems.count() - 1) * H);

    const double visible = THeight(this) - THeight(picBM);
    if (visible < THeight(picBMLst)) {
        sroBM->setMaximum(int(RoundHalfEven(THeight(picBMLst) - visible)));
        sroBM->setSingleStep(int(H));
        sroBM->setPageStep(int(2 * H));
        sroBM->show();
        sroBM->raise();
    }
}

void ucBookmarks::sroBM_Change()
{
    SetTTop(picBMLst, THeight(picBM) - sroBM->value());
}

void ucBookmarks::lblItems_Click(int Index)
{
    if (m_dblClickRow == Index) {
        // the release that ends a double click
        m_dblClickRow = -1;
        return;
    }
    const VbImage *row = lblItems.at(Index);
    if (!row)
        return;
    SetTTop(lblSel, TTop(row) - kRowOffset);
    m_selTag = QString::number(Index);
    centreDel();
}

void ucBookmarks::lblItems_DblClick(int Index)
{
    m_dblClickRow = Index;
    if (!lblItems.exists(Index))
        return;
    emit BookmarkOpened(itemTag(Index));
}

void ucBookmarks::lblSel_MouseMove(int Button, int, double, double Y)
{
    if (Button == 1) {
        SetTTop(lblSel, TTop(lblSel) - m_selY + Y);
        centreDel();
    } else {
        m_selY = Y;
    }
}

void ucBookmarks::lblSel_MouseUp(int, int, double, double)
{
    const int rows = rowCount();
    // Without rows the list has no height and the bar cannot be reached.
    if (rows < 1)
        return;
    const double H = THeight(lblSel);
    if (TTop(lblSel) > THeight(picBMLst))
        SetTTop(lblSel, THeight(picBMLst) - H);
    long long k = RoundHalfEven((H + TTop(lblSel)) / H);
    k = qBound(1LL, k, (long long)rows);
    const VbImage *row = lblItems.at(int(k));
    if (!row)
        return;
    SetTTop(lblSel, TTop(row) - kRowOffset);
    centreDel();
    emit BookmarkOpened(itemTag(int(k)));
}

void ucBookmarks::imgDel_Click()
{
    bool ok = false;
    const int i = m_selTag.trimmed().toInt(&ok);
    // An empty or stale number asks nothing; the list is built again.
    if (ok && i >= 1 && lblItems.exists(i)) {
        const QString caption = lblItems.at(i)->text();
        const QString path = itemTag(i);
        QPointer<ucBookmarks> self(this);
        const MsgAnswer answer = MsgBox(QStringLiteral("确认删除书签 ") + caption + QStringLiteral(" 吗？"),
                                        MsgButtons::YesNo, MsgIcon::Information, QStringLiteral("删除书签"),
                                        this);
        if (!self || answer != MsgAnswer::Yes)
            return;
        DelFile(path, false);
    }
    GetBookmarks();
}

void ucBookmarks::btnAdd_Click()
{
    const QString caption = txtCap->text();
    if (caption.isEmpty()) {
        QApplication::beep();
        return;
    }
    emit BookmarkAdded(caption);
}
