#include "frmTasks.h"

#include "AppEngines.h"
#include "ResPicture.h"
#include "ScriptControl.h"
#include "Twips.h"
#include "frmSHide.h"
#include "ucCmdBtn.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>

namespace tessivane {

namespace {

VbImage *Label(QWidget *parent, double l, double t, double w, double h, const QString &text, double points)
{
    auto *lbl = new VbImage(parent);
    TwipsMove(lbl, l, t, w, h);
    lbl->setFont(UiFont(points));
    lbl->setText(text);
    lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return lbl;
}

VbPictureBox *Picture(QWidget *parent, double l, double t, double w, double h, long color)
{
    auto *p = new VbPictureBox(parent);
    TwipsMove(p, l, t, w, h);
    p->setBackColor(color);
    return p;
}

} // namespace

frmTasks::frmTasks(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("任务管理器"));
    setFont(UiFont());
    resize(TwipsToPx(7215), TwipsToPx(5655));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    setPalette(pal);
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    lblCaption = Label(this, 120, 80, 2100, 300, QStringLiteral("Tessivane 任务管理器"), 10.5);
    lblCaption->setForeColor(0x00E0E0E0);
    lblCaption->setTransparentBack();
    lblCtrl[1] = Label(this, 6240, 0, 495, 495, QString(), 9);
    lblCtrl[1]->setBackColor(0x00808080);
    lblCtrl[0] = Label(this, 6720, 0, 495, 495, QString(), 9);
    lblCtrl[0]->setBackColor(0x000000C0);
    imgCtrl[1] = new VbImage(this);
    TwipsMove(imgCtrl[1], 6240, 0, 480, 480);
    imgCtrl[1]->setPixmap(ResPicture(QStringLiteral("imgWinMin")));
    imgCtrl[0] = new VbImage(this);
    TwipsMove(imgCtrl[0], 6720, 0, 480, 480);
    imgCtrl[0]->setPixmap(ResPicture(QStringLiteral("imgWinClose")));
    for (int i = 0; i < 2; ++i) {
        lblCtrl[i]->hide();
        connect(imgCtrl[i], &VbImage::mouseDown, this, [this, i](int, int, double, double) { lblCtrl[i]->show(); });
        connect(imgCtrl[i], &VbImage::mouseUp, this, [this, i](int, int, double, double) { lblCtrl[i]->hide(); });
    }
    connect(imgCtrl[0], &VbImage::clicked, this, [this] { close(); });
    connect(imgCtrl[1], &VbImage::clicked, this, [this] { showMinimized(); });
    connect(lblCaption, &VbImage::mouseDown, this, [this](int b, int, double, double) {
        if (b == 1 && windowHandle())
            windowHandle()->startSystemMove();
    });

    picTasks = Picture(this, 0, 480, 7215, 4215, 0x00EBEBEB);
    picLst = Picture(picTasks, 0, 0, 7215, 2535, 0x00EBEBEB);
    lblSel = Label(picLst, 0, 0, 7215, 495, QString(), 9);
    lblSel->setBackColor(0x00E0E0E0);
    auto *rowTemplate = Label(picLst, 240, 120, 765, 255, QStringLiteral("AppTask"), 9);
    rowTemplate->setTransparentBack();
    rowTemplate->hide();
    lblTasks.setTemplate(rowTemplate);
    lblTasks.setFactory([this](int index) {
        auto *row = Label(picLst, 240, 120, 765, 255, QString(), 9);
        row->setTransparentBack();
        connect(row, &VbImage::clicked, this, [this, index] { lblTasks_Click(index); });
        return row;
    });
    sroApp = new QScrollBar(Qt::Vertical, this);
    TwipsMove(sroApp, 6960, 480, 255, 4215);
    sroApp->hide();
    // The bar counts downwards from 0 at the top, as the list's Top does; Qt's
    // bar counts 0 up to its maximum as its thumb goes down, so it holds the
    // amount scrolled and the list moves up by it.
    connect(sroApp, &QScrollBar::valueChanged, this, [this](int) { SetTTop(picLst, sroAppValue()); });
    picNone = Picture(this, 2160, 2400, 2895, 495, 0x00EBEBEB);
    lblShow = Label(picNone, 0, 0, 2835, 420, QStringLiteral("没有正在运行的应用"), 15.75);
    picNone->hide();

    btnRfsh = new ucCmdBtn(this);
    TwipsMove(btnRfsh, 4440, 4920, 855, 495);
    btnRfsh->setCaption(QStringLiteral("刷新"));
    btnEndTsk = new ucCmdBtn(this);
    TwipsMove(btnEndTsk, 5520, 4920, 1455, 495);
    btnEndTsk->setCaption(QStringLiteral("结束任务"));
    connect(btnRfsh, &ucCmdBtn::Click, this, &frmTasks::RfshLst);
    connect(btnEndTsk, &ucCmdBtn::Click, this, &frmTasks::btnEndTsk_Click);

    tmrRfsh = new VbTimer(this, 500, true);
    connect(tmrRfsh, &QTimer::timeout, this, [this] {
        // A minimised window counts as visible.
        if (isVisible())
            RfshLst();
    });

    // Touching the engine array loads the window that carries it.
    frmSHide::Load();
    RfshLst();
}

frmTasks::~frmTasks() = default;

frmTasks *frmTasks::Open()
{
    static QPointer<frmTasks> open;
    if (!open) {
        // Not modal: the browser goes on while the list is open.
        open = new frmTasks();
        open->setAttribute(Qt::WA_DeleteOnClose);
    }
    if (open->isMinimized())
        open->showNormal();
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}

void frmTasks::RfshLst()
{
    for (int i = lblTasks.ubound(); i >= 1; --i)
        lblTasks.unload(i);
    sroApp->hide();
    picNone->hide();
    lblSel->show();
    if (AppEngines::Count() == 1) {
        lblSel->hide();
        picNone->show();
        return;
    }
    const double rowH = THeight(lblSel);
    for (int i : AppEngines::Indices()) {
        ScriptControl *sc = AppEngines::Engine(i);
        if (!sc)
            continue;
        const int k = lblTasks.ubound() + 1;
        VbImage *row = lblTasks.load(k);
        if (!row)
            break;
        row->setText(sc->tag());
        row->adjustSize();
        TwipsMove(row, TLeft(lblTasks(0)), (k - 1) * rowH + 120);
        row->setProperty("Tag", QString::number(i));
        row->show();
        row->raise();
    }
    SetTHeight(picLst, rowH * (AppEngines::Count() - 1));
    const double viewH = THeight(picTasks);
    if (THeight(picLst) > viewH) {
        // The bar runs from 0 down to a negative maximum; past 16 bits it stops there.
        const double range = qMax(viewH - THeight(picLst), -32768.0);
        sroApp->setRange(0, int(-range));
        sroApp->setPageStep(int(2 * rowH));
        sroApp->setSingleStep(int(rowH));
        sroApp->show();
        sroApp->raise();
    }
}

int frmTasks::sroAppValue() const
{
    return -sroApp->value();
}

void frmTasks::setSroAppValue(int value)
{
    sroApp->setValue(-value);
}

int frmTasks::RowEngine(int row) const
{
    VbImage *r = lblTasks(row);
    if (!r || row < 1)
        return 0;
    return r->property("Tag").toString().toInt();
}

void frmTasks::btnEndTsk_Click()
{
    const int i = RowEngine(lblSelTag.toInt());
    if (i > 0)
        AppEngines::End(i);
    RfshLst();
}

void frmTasks::lblTasks_Click(int Index)
{
    VbImage *row = lblTasks(Index);
    if (!row)
        return;
    SetTTop(lblSel, TTop(row) - 120);
    lblSelTag = QString::number(Index);
}

void frmTasks::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove();
    QWidget::mousePressEvent(e);
}

}  // namespace tessivane
