#include "ucDownload.h"

#include "CFileDownload.h"
#include "DrawFileIco.h"
#include "DwnPictures.h"
#include "DwnShell.h"
#include "FileName.h"
#include "ProgramFolder.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "UrlDownload.h"
#include "VbWidgets.h"

#include <QResizeEvent>

#include <cstdlib>

namespace {
constexpr long kBack = 0xEBEBEB;

// floor(a * b / c) without overflow for any byte counts.
qint64 mulDiv(qint64 a, qint64 b, qint64 c)
{
    return qint64((__int128(a) * __int128(b)) / __int128(c));
}
} // namespace

ucDownload::ucDownload(QWidget *parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, VbColor(kBack));
    setPalette(pal);
    TwipsMove(this, 0, 0, 4455, kRowHeight);

    Downloader = new CFileDownload(this);
    connect(Downloader, &CFileDownload::OnProgress, this, &ucDownload::Downloader_OnProgress);

    picIcon = new VbPictureBox(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setBackColor(kBack);
    TwipsMove(picIcon, 240, 240, 480, 480);

    lblCap = new VbImage(this);
    lblCap->setObjectName(QStringLiteral("lblCap"));
    lblCap->setFont(UiFont(12));
    lblCap->setTransparentBack();
    lblCap->setText(QStringLiteral("FileName"));
    TwipsMove(lblCap, 960, 120, 1080, 315);
    lblCap->adjustSize();

    picPro = new VbPictureBox(this);
    picPro->setObjectName(QStringLiteral("picPro"));
    picPro->setBackColor(0xC0C0C0);
    TwipsMove(picPro, 960, 600, 1215, 135);

    lblPro = new VbImage(picPro);
    lblPro->setObjectName(QStringLiteral("lblPro"));
    lblPro->setBackColor(0x008000);
    TwipsMove(lblPro, -10, 0, 15, 255);

    lblProg = new VbImage(this);
    lblProg->setObjectName(QStringLiteral("lblProg"));
    lblProg->setFont(UiFont(9));
    lblProg->setForeColor(0x808080);
    lblProg->setTransparentBack();
    lblProg->setText(QStringLiteral("已下载 *%"));
    TwipsMove(lblProg, 2280, 480, 840, 255);
    lblProg->adjustSize();

    picOpt = new VbPictureBox(this);
    picOpt->setObjectName(QStringLiteral("picOpt"));
    picOpt->setBackColor(kBack);
    TwipsMove(picOpt, 3360, 120, 1095, 615);

    const QString cpNames[2] = {QStringLiteral("imgCP0"), QStringLiteral("imgCP1")};
    const QString cpTips[2] = {QStringLiteral("继续下载"), QStringLiteral("暂停下载")};
    const QPixmap cpPictures[2] = {DwnPictures::resume(), DwnPictures::pause()};
    for (int i = 0; i < 2; ++i) {
        imgCP[i] = new VbImage(picOpt);
        imgCP[i]->setObjectName(cpNames[i]);
        imgCP[i]->setPixmap(cpPictures[i]);
        imgCP[i]->setToolTip(cpTips[i]);
        TwipsMove(imgCP[i], 0, 120, 375, 375);
        connect(imgCP[i], &VbImage::clicked, this, [this, i] { imgCP_Click(i); });
    }
    imgCP[0]->hide();

    imgDel = new VbImage(picOpt);
    imgDel->setObjectName(QStringLiteral("imgDel"));
    imgDel->setPixmap(DwnPictures::remove());
    imgDel->setToolTip(QStringLiteral("从列表中删除这个下载"));
    TwipsMove(imgDel, 480, 120, 375, 375);
    connect(imgDel, &VbImage::clicked, this, &ucDownload::imgDel_Click);

    connect(picIcon, &VbPictureBox::dblClick, this, &ucDownload::OpenFile);
    connect(lblCap, &VbImage::dblClick, this, &ucDownload::OpenFile);

    // Labels lie below the picture boxes, as a long file name runs under the buttons.
    lblCap->lower();
    lblProg->lower();
    Layout();
}

void ucDownload::NewDownload(const QString &sUrl, const QString &sPath)
{
    if (sUrl.left(6).toLower() == QLatin1String("ftp://"))
        return;
    m_Url = sUrl;
    m_Path = sPath;
    imgCP_Click(0);
}

void ucDownload::StopDownload()
{
    Downloader->AbortDownloading();
}

void ucDownload::releaseWhenIdle()
{
    m_release = true;
    if (m_callDepth == 0)
        deleteLater();
}

void ucDownload::imgCP_Click(int Index)
{
    imgCP[Index]->hide();
    imgCP[std::abs(Index - 1)]->show();
    if (Index == 0) {
        lblCap->setText(GetFileName(m_Path, true));
        lblCap->adjustSize();
        DrawFileIco(m_Path, picIcon);
        // StartDownloading pumps the queue once before the transfer begins; a
        // pause or a removal in that pump keeps the transfer from starting.
        ++m_callDepth;
        Downloader->StartDownloading(m_Url, m_Path);
        --m_callDepth;
        if (m_release) {
            if (m_callDepth == 0)
                deleteLater();
            return;
        }
    } else {
        Downloader->AbortDownloading();
    }
    Layout();
}

void ucDownload::imgDel_Click()
{
    Downloader->AbortDownloading();
    emit DwnRemoved();
}

void ucDownload::OpenFile()
{
    if (!picPro->isHidden())
        return;
    DwnShell::instance()->openDocument(m_Path);
}

void ucDownload::Downloader_OnProgress(qint64 lProgress, qint64 lMaxProgress, int lStatusCode, const QString &)
{
    if (m_finished || m_release)
        return;
    // The fill is measured against the track as it stands after the new
    // percentage has been laid out, so that it covers the right share of it.
    const qint64 progress = qMax<qint64>(lProgress, 0);
    if (lMaxProgress <= 0)
        lblProg->setText(QStringLiteral("已下载 0%"));
    else
        lblProg->setText(QStringLiteral("已下载 ") + QString::number(mulDiv(progress, 100, lMaxProgress)) + QLatin1Char('%'));
    lblProg->adjustSize();
    Layout();
    if (lMaxProgress <= 0)
        SetTWidth(lblPro, 0);
    else
        SetTWidth(lblPro, double(mulDiv(progress, qint64(TScaleWidth(picPro)), lMaxProgress)) + 10);
    // The end of the data is reported once per transfer, after the file is
    // complete at its target, whether or not its size was ever known.
    if (lStatusCode == BindStatus::EndDownloadData)
        Complete();
    Layout();
}

void ucDownload::Complete()
{
    m_finished = true;
    imgCP[0]->hide();
    imgCP[1]->hide();
    SetTLeft(imgDel, 0);
    SetTWidth(picOpt, TWidth(imgDel) + 240);
    Layout();
    lblProg->setText(QStringLiteral("下载完成"));
    lblProg->adjustSize();
    picPro->hide();
    DrawFileIco(m_Path, picIcon);
    if (lblCap->text().right(5) == QLatin1String(".zelp"))
        DwnShell::instance()->startDetached(programFolder() + QStringLiteral("Tessivane"), {m_Path});
}

void ucDownload::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    Layout();
}

void ucDownload::Layout()
{
    if (m_inLayout)
        return;
    m_inLayout = true;
    if (THeight(this) != kRowHeight)
        SetTHeight(this, kRowHeight);
    const double width = TWidth(this);
    SetTLeft(picOpt, width - TWidth(picOpt));
    SetTTop(picOpt, (kRowHeight - THeight(picOpt)) / 2);
    SetTLeft(lblProg, TLeft(picOpt) - TWidth(lblProg) - 120);
    SetTTop(picPro, (THeight(lblProg) - THeight(picPro)) / 2 + TTop(lblProg));
    SetTWidth(picPro, width - TLeft(picPro) - TWidth(picOpt) - TWidth(lblProg) - 240);
    m_inLayout = false;
}
