#include "ucDwnLst.h"

#include "DwnPictures.h"
#include "DwnQuestion.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "VbWidgets.h"

#include <QPointer>
#include <QScrollBar>

namespace {
constexpr long kBack = 0xEBEBEB;
constexpr double kWidth = 4830;
constexpr double kHeight = 5670;
constexpr double kRowWidth = 4815;
constexpr double h = ucDownload::kRowHeight;
} // namespace

ucDwnLst::ucDwnLst(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, VbColor(kBack));
    setPalette(pal);
    // The list keeps its size whatever its host asks.
    setFixedSize(TwipsToPx(kWidth), TwipsToPx(kHeight));

    picDwn = new VbPictureBox(this);
    picDwn->setObjectName(QStringLiteral("picDwn"));
    picDwn->setBackColor(kBack);
    TwipsMove(picDwn, 0, 0, 4815, 1215);

    imgDwIco = new VbImage(picDwn);
    imgDwIco->setObjectName(QStringLiteral("imgDwIco"));
    imgDwIco->setPixmap(DwnPictures::header());
    imgDwIco->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TwipsMove(imgDwIco, 120, 120, 1200, 1065);

    lblClear = new VbImage(picDwn);
    lblClear->setObjectName(QStringLiteral("lblClear"));
    lblClear->setText(QStringLiteral("清空列表"));
    lblClear->setFont(UiFont(15));
    lblClear->setForeColor(0xC0C0C0);
    lblClear->setTransparentBack();
    TwipsMove(lblClear, 3480, 720, 1200, 405);
    connect(lblClear, &VbImage::clicked, this, &ucDwnLst::lblClear_Click);

    picDLst = new VbPictureBox(this);
    picDLst->setObjectName(QStringLiteral("picDLst"));
    picDLst->setBackColor(kBack);
    TwipsMove(picDLst, 0, 1200, kRowWidth, 3135);

    auto *tmpl = new ucDownload(picDLst);
    TwipsMove(tmpl, 0, 0, kRowWidth, h);
    tmpl->hide();
    Dwner.setTemplate(tmpl);
    Dwner.setFactory([this](int index) {
        auto *row = new ucDownload(picDLst);
        row->setObjectName(QStringLiteral("Dwner%1").arg(index));
        TwipsMove(row, 0, 0, kRowWidth, h);
        row->hide();
        connect(row, &ucDownload::DwnRemoved, this, [this, index] { Dwner_DwnRemoved(index); });
        return row;
    });

    sroDwn = new QScrollBar(Qt::Vertical, this);
    sroDwn->setObjectName(QStringLiteral("sroDwn"));
    TwipsMove(sroDwn, 4560, 1200, 255, 4455);
    sroDwn->hide();
    connect(sroDwn, &QScrollBar::valueChanged, this, &ucDwnLst::sroDwn_Change);

    // The header stays above the rows when they scroll up under it.
    picDwn->raise();
    sroDwn->raise();
}

void ucDwnLst::AddNewDwn(const QString &sUrl, const QString &sPath)
{
    // Indexes are 16-bit: after the last one no row can be added.
    ucDownload *row = Dwner.loadNext();
    if (!row)
        return;
    const int n = Dwner.count();
    TwipsMove(row, 0, h * (n - 2));
    row->show();
    SetTHeight(picDLst, h * (n - 1));
    SizeScroll();
    const QPointer<ucDownload> keep(row);
    keep->NewDownload(sUrl, sPath);
}

void ucDwnLst::StopAll()
{
    Dwner.forEach([](int, ucDownload *row) { row->StopDownload(); });
}

void ucDwnLst::Dwner_DwnRemoved(int Index)
{
    ReleaseRow(Index);
    RfshDwn();
}

void ucDwnLst::ReleaseRow(int Index)
{
    ucDownload *row = Dwner.take(Index);
    if (!row)
        return;
    row->hide();
    row->releaseWhenIdle();
}

void ucDwnLst::lblClear_Click()
{
    if (Dwner.count() == 1)
        return;
    if (!DwnQuestion::ask(window(), QStringLiteral("清空"), QStringLiteral("确定要清空下载列表吗？")))
        return;
    // Taken after the answer: every row there is now goes.
    const int last = Dwner.ubound();
    for (int i = 1; i <= last; ++i) {
        ucDownload *row = Dwner.at(i);
        if (!row)
            continue;
        row->StopDownload();
        ReleaseRow(i);
    }
    RfshDwn();
}

void ucDwnLst::sroDwn_Change(int value)
{
    SetTTop(picDLst, THeight(picDwn) - value);
}

void ucDwnLst::RfshDwn()
{
    double top = 0;
    Dwner.forEach([&top](int, ucDownload *row) {
        SetTTop(row, top);
        top += qRound(THeight(row));
    });
    SetTHeight(picDLst, h * (Dwner.count() - 1));
    SizeScroll();
}

void ucDwnLst::SizeScroll()
{
    const double visible = THeight(this) - THeight(picDwn);
    const double list = THeight(picDLst);
    if (visible >= list) {
        // Back to the top, so that rows left after a removal are not hidden
        // under the header with no scroll bar to reach them.
        sroDwn->setValue(0);
        sroDwn->hide();
        return;
    }
    sroDwn->setRange(0, int(list - visible));
    sroDwn->setPageStep(int(2 * h));
    sroDwn->setSingleStep(int(h));
    sroDwn->show();
}
