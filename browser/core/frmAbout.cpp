#include "frmAbout.h"

#include "Main.h"
#include "ResPicture.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "frmMain.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QWindow>

namespace tessivane {

namespace {
constexpr long kDark = 0x404040;
constexpr long kLight = 0xE0E0E0;
constexpr long kGrey = 0x808080;
constexpr long kPanel = 0xEBEBEB;
constexpr double kFormWidth = 8055;
constexpr double kFormHeight = 6135;
constexpr double kTxtsTop = 4080;

const QString kTitle = QStringLiteral("关于 Tessivane 网页浏览器（第二代）");
} // namespace

frmAbout::frmAbout(frmMain *main, QWidget *parent)
    : QDialog(parent ? parent : main, Qt::Dialog | Qt::FramelessWindowHint)
    , m_main(main)
{
    setModal(true);
    setWindowTitle(kTitle);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, VbColor(kDark));
    setPalette(pal);
    SetTwips(this, {0, 0, kFormWidth, kFormHeight});
    setFixedSize(size());

    lblCaption = MakeLabel(this, kTitle, kLight, 120, 75, 3630, 300);

    lblCtrl = MakeLabel(this, QString(), 0, 7560, 0, 495, 495);
    lblCtrl->setBackColor(0x0000C0);
    lblCtrl->setVisible(false);
    imgCtrl = new VbImage(this);
    imgCtrl->setTransparentBack();
    imgCtrl->setAlignment(Qt::AlignCenter);
    imgCtrl->setPixmap(ResPicture(QStringLiteral("imgWinClose")));
    TwipsMove(imgCtrl, 7560, 0, 480, 480);
    imgCtrl->setCursor(Qt::PointingHandCursor);
    connect(imgCtrl, &VbImage::mouseDown, this, [this](int, int, double, double) { imgCtrl_MouseDown(); });
    connect(imgCtrl, &VbImage::mouseUp, this, [this](int, int, double, double) { imgCtrl_MouseUp(); });
    connect(imgCtrl, &VbImage::clicked, this, &frmAbout::imgCtrl_Click);

    picFrm = new VbPictureBox(this);
    picFrm->setBackColor(kPanel);
    TwipsMove(picFrm, 0, 480, kFormWidth, 2295);
    imgAbout = new VbImage(picFrm);
    imgAbout->setPictureAutoSize(ResPicture(QStringLiteral("imgAbout")));
    TwipsMove(imgAbout, 720, 120);

    picTxts = new VbPictureBox(this);
    picTxts->setBackColor(kDark);
    TwipsMove(picTxts, 0, kTxtsTop, kFormWidth, 1215);
    const Qt::Alignment centred = Qt::AlignCenter;
    lblShow[2] = MakeLabel(picTxts, QStringLiteral("Tessivane2 由 Tessivane 开发组于 2026 年倾力打造"), kGrey, 0, 0,
                           kFormWidth, 255, centred);
    lblShow[3] = MakeLabel(picTxts,
                           QStringLiteral("Tessivane2 继承了第一代简洁至极的特点，做出了Trident内核上的诸多创新"),
                           kGrey, 0, 360, kFormWidth, 255, centred);
    lblShow[5] = MakeLabel(picTxts, QStringLiteral("Tessivane 开发组感谢每一位用户的支持与陪伴"), kGrey, 0, 720,
                           kFormWidth, 255, centred);

    lblShow[0] = MakeLabel(this, QStringLiteral("Tessivane 网页浏览器"), kLight, 877, 3000, 2100, 300);
    lblShow[1] = MakeLabel(this, QStringLiteral("版本: 1.10.34 Beta3 (公共测试版)"), kLight, 4110, 3000, 3105, 300);
    lblShow[4] = MakeLabel(this, QStringLiteral("Copyright (C) 2026 Tessivane 开发组 保留所有权利"), kLight, 1507,
                           3480, 5040, 255, centred);

    lblWeb[0] = MakeLabel(this, QStringLiteral("官方网站"), kLight, 240, 5760, 720, 255);
    lblWeb[1] = MakeLabel(this, QStringLiteral("贴吧讨论"), kLight, 1320, 5760, 720, 255);
    for (int i = 0; i < 2; ++i) {
        QFont f = lblWeb[i]->font();
        f.setUnderline(true);
        lblWeb[i]->setFont(f);
        lblWeb[i]->setCursor(Qt::PointingHandCursor);
        connect(lblWeb[i], &VbImage::clicked, this, [this, i] { lblWeb_Click(i); });
    }

    cmdOK = new ucCmdBtn(QStringLiteral("确定"), this);
    TwipsMove(cmdOK, 6360, 5520, 1455, 495);
    connect(cmdOK, &ucCmdBtn::Click, this, &frmAbout::cmdOK_Click);

    lblCaption->installEventFilter(this);
    imgCtrl->raise();

    tmrSTxts = new VbTimer(this, 1, false);
    connect(tmrSTxts, &QTimer::timeout, this, &frmAbout::tmrSTxts_Timer);

    // Centred on the screen.
    if (const QScreen *s = QGuiApplication::primaryScreen()) {
        const QRect g = s->geometry();
        move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 2);
    }
    Form_Load();
    tmrSTxts->setEnabled(true);
}

VbImage *frmAbout::MakeLabel(QWidget *parent, const QString &text, long color, double left, double top,
                             double width, double height, Qt::Alignment align)
{
    auto *l = new VbImage(parent);
    l->setText(text);
    l->setFont(UiFont(9));
    l->setForeColor(color);
    l->setTransparentBack();
    l->setAlignment(align);
    TwipsMove(l, left, top, width, height);
    return l;
}

QString frmAbout::WebAddress(int Index)
{
    if (Index == 0)
        return QStringLiteral("https://tessivane.github.io/");
    return QStringLiteral("https://tieba.baidu.com/f?kw=tessivane");
}

void frmAbout::Form_Load()
{
    SetTLeft(picTxts, TScaleWidth(this));
    SetTLeft(picFrm, -TWidth(picFrm));
}

void frmAbout::tmrSTxts_Timer()
{
    SlideCtl(picTxts, 0, kTxtsTop, TWidth(picTxts), THeight(picTxts), 10, tmrSTxts, QString());
    SetTLeft(picFrm, -TLeft(picTxts));
}

void frmAbout::Form_MouseMove(int Button, int, double, double)
{
    if (Button == 1)
        DragWindow(QCursor::pos());
}

void frmAbout::DragWindow(const QPoint &globalPos)
{
    if (!m_systemMoveTried) {
        // Once per press: the window manager moves the window from here on.
        m_systemMoveTried = true;
        if (windowHandle() && windowHandle()->startSystemMove())
            return;
    }
    move(globalPos - m_dragOffset);
}

void frmAbout::mousePressEvent(QMouseEvent *e)
{
    m_dragOffset = e->globalPosition().toPoint() - frameGeometry().topLeft();
    m_systemMoveTried = false;
    QDialog::mousePressEvent(e);
}

void frmAbout::mouseMoveEvent(QMouseEvent *e)
{
    if (VbButtons(e->buttons()) == 1)
        DragWindow(e->globalPosition().toPoint());
}

bool frmAbout::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == lblCaption) {
        if (e->type() == QEvent::MouseButtonPress) {
            auto *me = static_cast<QMouseEvent *>(e);
            m_dragOffset = me->globalPosition().toPoint() - frameGeometry().topLeft();
            m_systemMoveTried = false;
        } else if (e->type() == QEvent::MouseMove) {
            auto *me = static_cast<QMouseEvent *>(e);
            if (VbButtons(me->buttons()) == 1)
                DragWindow(me->globalPosition().toPoint());
        }
    }
    return QDialog::eventFilter(watched, e);
}

void frmAbout::imgCtrl_MouseDown()
{
    lblCtrl->setVisible(true);
}

void frmAbout::imgCtrl_MouseUp()
{
    lblCtrl->setVisible(false);
}

void frmAbout::imgCtrl_Click()
{
    UnloadMe();
}

void frmAbout::cmdOK_Click()
{
    UnloadMe();
}

void frmAbout::lblWeb_Click(int Index)
{
    QPointer<frmAbout> self(this);
    if (m_main) {
        m_main->AddPage();
        m_main->WebGoTo(WebAddress(Index));
    }
    if (self)
        UnloadMe();
}

void frmAbout::UnloadMe()
{
    tmrSTxts->stop();
    done(QDialog::Accepted);
}

}  // namespace tessivane
