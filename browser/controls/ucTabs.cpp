#include "ucTabs.h"

#include "Files.h"
#include "Main.h"
#include "Twips.h"
#include "VbCompat.h"
#include "VbTimer.h"
#include "VbWidgets.h"

#include <QPainter>
#include <QResizeEvent>

#include <cmath>

namespace {
constexpr long kDesignBack = 0xFDBD93;
constexpr long kDesignPro = 0xFEDCC0;

// The close glyph: a grey diagonal cross 13 pixels across on a transparent 17 x 17 picture.
QPixmap closeGlyph()
{
    QPixmap pm(17, 17);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    p.drawLine(2, 2, 14, 14);
    p.drawLine(14, 2, 2, 14);
    return pm;
}
} // namespace

ucTabs::ucTabs(QWidget *parent)
    : QWidget(parent)
{
    picTab = new VbPictureBox(this);
    picTab->setBackColor(kDesignBack);
    TwipsMove(picTab, 0, 0, 2520, 495);

    picCls = new VbPictureBox(picTab);
    picCls->setBackColor(kDesignBack);
    picCls->setPicture(closeGlyph());
    TwipsMove(picCls, 0, 0, 375, 255);

    lblCap = new VbImage(picTab);
    lblCap->setFont(UiFont(9));
    lblCap->setTransparentBack();
    TwipsMove(lblCap, 240, 120);
    lblCap->adjustSize();

    lblPro = new VbImage(picTab);
    setProColorQuiet(kDesignPro);
    TwipsMove(lblPro, 0, 380, 15, 135);
    lblPro->hide();

    tmrSpeed = new VbTimer(this, 1, false);
    connect(tmrSpeed, &QTimer::timeout, this, &ucTabs::tmrSpeed_Timer);

    connect(picCls, &VbPictureBox::mouseUp, this, [this](int, int, double x, double y) {
        // A click: the button goes up over the box it went down on.
        if (x >= 0 && y >= 0 && x < TWidth(picCls) && y < THeight(picCls))
            emit TabClose();
    });

    connect(picTab, &VbPictureBox::mouseDown, this, &ucTabs::picTab_MouseDown);
    connect(picTab, &VbPictureBox::mouseMove, this, &ucTabs::picTab_MouseMove);
    connect(picTab, &VbPictureBox::mouseUp, this, [this](int b, int s, double x, double y) {
        picTab_MouseUp(b, s, x, y);
        if (x >= 0 && y >= 0 && x < TWidth(picTab) && y < THeight(picTab))
            picTab_Click();
    });
    connect(picTab, &VbPictureBox::dblClick, this, &ucTabs::picTab_DblClick);
    // The caption and the strip pass their own coordinates on unchanged.
    for (VbImage *l : {lblCap, lblPro}) {
        connect(l, &VbImage::mouseDown, this, &ucTabs::picTab_MouseDown);
        connect(l, &VbImage::mouseMove, this, &ucTabs::picTab_MouseMove);
        connect(l, &VbImage::mouseUp, this, &ucTabs::picTab_MouseUp);
        connect(l, &VbImage::clicked, this, &ucTabs::picTab_Click);
        connect(l, &VbImage::dblClick, this, &ucTabs::picTab_DblClick);
    }

    // The theme's WhiteFont, read anew for every tab; any failure keeps the design colour.
    const QString themeIni = GetAppPath() + QStringLiteral("Themes\\") + ReadThemeSet(QStringLiteral("Theme"));
    const auto white = ToNumber(ReadIni(QStringLiteral("Clr"), QStringLiteral("WhiteFont"), themeIni));
    if (white && *white == 1.0)
        lblCap->setForeColor(0xFFFFFF);

    TwipsMove(this, 0, 0, 2520, 495);
}

double ucTabs::ProgressWidth(double faceWidth, int v)
{
    const double w = std::floor(faceWidth / 100.0 * v);
    return w < 0 ? 0 : w;
}

long ucTabs::BackColor() const
{
    return picTab->backColor();
}

void ucTabs::setBackColor(long colour)
{
    picTab->setBackColor(colour);
    picCls->setBackColor(colour);
    emit PropertyChanged(QStringLiteral("BackColor"));
}

QString ucTabs::Caption() const
{
    return m_caption;
}

void ucTabs::setCaption(const QString &text)
{
    m_caption = text;
    lblCap->setToolTip(PlainToolTip(text));
    fitCaption();
    emit PropertyChanged(QStringLiteral("Caption"));
}

void ucTabs::fitCaption()
{
    // The title ends before the close box; what does not fit gives way to "…".
    const double room = TWidth(picTab) - TLeft(lblCap) - TWidth(picCls);
    const int px = room > 0 ? TwipsToPx(room) : 0;
    lblCap->setText(lblCap->fontMetrics().elidedText(m_caption, Qt::ElideRight, px));
    lblCap->adjustSize();
}

int ucTabs::Progress() const
{
    return int(LeadingNumber(m_proTag));
}

void ucTabs::setProgress(int v)
{
    m_proTag = QString::number(v);
    m_proWidth = ProgressWidth(TWidth(picTab), v);
    if (v != 0) {
        tmrSpeed->setEnabled(true);
    } else {
        SetTWidth(lblPro, 0);
        m_proTag = QStringLiteral("0");
    }
    lblPro->setVisible(v != 0);
    emit PropertyChanged(QStringLiteral("Progress"));
}

long ucTabs::ProColor() const
{
    return m_proColor;
}

void ucTabs::setProColor(long colour)
{
    m_proColor = colour;
    lblPro->setBackColor(colour);
    emit PropertyChanged(QStringLiteral("ProColor"));
}

void ucTabs::setProColorQuiet(long colour)
{
    m_proColor = colour;
    lblPro->setBackColor(colour);
}

void ucTabs::tmrSpeed_Timer()
{
    SlideCtl(lblPro, 0, float(TTop(lblPro)), float(m_proWidth), float(THeight(lblPro)), 6, tmrSpeed, QString());
}

void ucTabs::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    if (m_inResize)
        return;
    m_inResize = true;
    if (THeight(this) != THeight(picTab))
        SetTHeight(this, THeight(picTab));
    SetTWidth(picTab, TWidth(this));
    const double faceW = TWidth(picTab), faceH = THeight(picTab);
    TwipsMove(picCls, faceW - TWidth(picCls), (faceH - THeight(picCls)) / 2);
    fitCaption();
    SetTTop(lblCap, (faceH - THeight(lblCap)) / 2);
    tmrSpeed->setEnabled(false);
    TwipsMove(lblPro, 0, TTop(lblPro), ProgressWidth(faceW, Progress()));
    m_inResize = false;
}

void ucTabs::picTab_MouseDown(int button, int shift, double x, double y)
{
    emit MouseDown(button, shift, x, y);
}

void ucTabs::picTab_MouseMove(int button, int shift, double x, double y)
{
    emit MouseMove(button, shift, x, y);
}

void ucTabs::picTab_MouseUp(int button, int shift, double x, double y)
{
    emit MouseUp(button, shift, x, y);
}

void ucTabs::picTab_Click()
{
    emit Click();
}

void ucTabs::picTab_DblClick()
{
    emit DblClick();
}
