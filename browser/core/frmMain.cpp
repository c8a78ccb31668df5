#include "frmMain.h"

#include "ResPicture.h"
#include "Twips.h"
#include "VbWidgets.h"

#include "ucBookmarks.h"
#include "ucListBox.h"
#include "ucTabs.h"
#include "ucWeb.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

namespace tessivane {

namespace {

VbImage *MakeImage(QWidget *parent, double l, double t, double w, double h, const QString &tip = QString())
{
    auto *img = new VbImage(parent);
    TwipsMove(img, l, t, w, h);
    if (!tip.isEmpty())
        img->setToolTip(tip);
    img->setAlignment(Qt::AlignCenter);
    return img;
}

VbImage *MakeLabel(QWidget *parent, double l, double t, double w, double h, const QString &caption,
                   double points = 9, bool bold = false)
{
    auto *lbl = new VbImage(parent);
    TwipsMove(lbl, l, t, w, h);
    lbl->setFont(UiFont(points, bold));
    lbl->setText(caption);
    lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return lbl;
}

VbPictureBox *MakePicture(QWidget *parent, double l, double t, double w, double h)
{
    auto *p = new VbPictureBox(parent);
    TwipsMove(p, l, t, w, h);
    p->setBackColor(0x00FFCB9B);
    return p;
}

// A chevron for the tab strip's scroll buttons, pointing right or left.
QPixmap ScrollArrow(bool right)
{
    QPixmap pm(TwipsToPx(240), TwipsToPx(465));
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double cx = pm.width() / 2.0, cy = pm.height() / 2.0, d = 4;
    const QPointF tip(right ? cx + d / 2 : cx - d / 2, cy);
    const double back = right ? tip.x() - d : tip.x() + d;
    p.drawPolyline(QPolygonF({QPointF(back, cy - d), tip, QPointF(back, cy + d)}));
    return pm;
}

QLineEdit *MakeTextBox(QWidget *parent, double l, double t, double w, double h, double points = 9)
{
    auto *txt = new QLineEdit(parent);
    txt->setFrame(false);
    txt->setFont(UiFont(points));
    // Text sits at the top of a text box, as the layout's heights assume.
    txt->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TwipsMove(txt, l, t, w, h);
    return txt;
}

} // namespace

frmMain::frmMain(QWidget *parent)
    : QWidget(parent)
{
    // No title bar and no system caption buttons; the sizing border is the
    // layout's (the edges start a system resize).
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(UiFont());
    resize(TwipsToPx(11955), TwipsToPx(8265));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0x9B, 0xCB, 0xFF)); // design colour &H00FFCB9B
    setPalette(pal);

    buildControls();
    buildMenu();
    ConnectAddressEvents();
    ConnectLockEvents();
    ConnectToolbarEvents();
    ConnectBookmarkEvents();
    ConnectAppEvents();
}

frmMain::~frmMain() = default;

void frmMain::buildControls()
{
    tmrSBM = new VbTimer(this, 1, false);
    tmrKey = new VbTimer(this, 100, false); // switched on once the window stands

    // Stacking from bottom to top: pages, status bar, preview, address bar,
    // suggestion list, lock panel, caption bar, app panel, bookmarks panel.
    picSta = MakePicture(this, 0, 6600, 1215, 320);
    picSta->hide();
    lblSta = MakeLabel(picSta, 0, 0, 405, 255, QStringLiteral("Sta..."));
    lblSta->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    picImg = MakePicture(this, 1200, 490, 3285, 2175);
    picImg->hide();
    tmrRfsh = new VbTimer(picImg, 100, false);
    imgWebImg = MakeImage(picImg, 0, 0, 3255, 2175, QStringLiteral("缩略图"));
    imgWebImg->setScaledContents(true);

    picAddr = MakePicture(this, 0, 480, 375, 320);
    picAddr->setToolTip(QStringLiteral("地址"));
    picZoom = MakePicture(picAddr, 1560, -10, 1935, 375);
    imgDwn = MakeImage(picZoom, 1560, 0, 285, 285, QStringLiteral("查看已下载的文档和程序"));
    imgBM = MakeImage(picZoom, 1200, 0, 285, 285, QStringLiteral("点击将网页加入收藏, 双击打开收藏夹"));
    lblZmVl = MakeLabel(picZoom, 340, 20, 480, 255, QStringLiteral("100%"));
    lblPlMi[1] = MakeLabel(picZoom, 960, -30, 105, 330, QStringLiteral("-"), 12, true);
    lblPlMi[0] = MakeLabel(picZoom, 80, -30, 180, 330, QStringLiteral("+"), 12, true);
    tmrSTxt = new VbTimer(picAddr, 1, false);
    txtAddr = MakeTextBox(picAddr, 840, 0, 495, 375);
    imgWebIco[0] = MakeImage(picAddr, 480, 0, 285, 285, QStringLiteral("网页为未经过加密的普通网页"));
    imgWebIco[1] = MakeImage(picAddr, 480, 0, 285, 285, QStringLiteral("网页经过安全加密"));
    picAddr->setPicture(ResPicture(QStringLiteral("picAddr")));
    imgDwn->setPixmap(ResPicture(QStringLiteral("imgDwn")));
    imgBM->setPixmap(ResPicture(QStringLiteral("imgBM")));
    imgWebIco[0]->setPixmap(ResPicture(QStringLiteral("imgWebIco0")));
    imgWebIco[1]->setPixmap(ResPicture(QStringLiteral("imgWebIco1")));

    lstAddr = new ucListBox(this);
    TwipsMove(lstAddr, 0, 2760, 4815, 1935);
    lstAddr->hide();

    picPass = MakePicture(this, 0, 480, 615, 615);
    picPassCore = MakePicture(picPass, 120, 120, 6135, 2175);
    txtPass = MakeTextBox(picPassCore, 1680, 1560, 2625, 330, 12);
    lblShow[0] = MakeLabel(picPassCore, 240, 0, 5625, 570, QStringLiteral("Tessivane 处于密码保护状态"), 21.75);
    lblShow[1] = MakeLabel(picPassCore, 1560, 960, 2850, 375, QStringLiteral("请输入密码来解除锁定"), 14.25);
    tmrSPass = new VbTimer(picPass, 1, false);

    picCaption = MakePicture(this, 0, 0, 11955, 495);
    picTabBar = MakePicture(picCaption, 1680, 0, 6495, 495);
    imgAddWeb = MakeImage(picTabBar, 6120, 0, 330, 465);
    imgAddWeb->setPixmap(ResPicture(QStringLiteral("imgAddWeb")));
    imgTabScr[0] = MakeImage(picTabBar, 5640, 0, 240, 465, QStringLiteral("向左滚动标签页"));
    imgTabScr[1] = MakeImage(picTabBar, 5880, 0, 240, 465, QStringLiteral("向右滚动标签页"));
    imgTabScr[0]->setPixmap(ScrollArrow(false));
    imgTabScr[1]->setPixmap(ScrollArrow(true));
    imgTabScr[0]->hide();
    imgTabScr[1]->hide();
    imgBtn[0] = MakeImage(picCaption, 0, 0, 435, 480, QStringLiteral("后退(向右拖拽前进)"));
    imgBtn[1] = MakeImage(picCaption, 480, 0, 435, 480, QStringLiteral("刷新"));
    imgBtn[2] = MakeImage(picCaption, 480, 0, 435, 480, QStringLiteral("停止加载"));
    imgCtrl[3] = MakeImage(picCaption, 9240, 0, 435, 480, QStringLiteral("应用库"));
    imgCtrl[2] = MakeImage(picCaption, 9720, 0, 435, 480, QStringLiteral("最小化"));
    imgCtrl[1] = MakeImage(picCaption, 10200, 0, 435, 480, QStringLiteral("调节"));
    imgCtrl[0] = MakeImage(picCaption, 10680, 0, 435, 480, QStringLiteral("关闭浏览器"));
    imgBtn[3] = MakeImage(picCaption, 960, 0, 435, 480, QStringLiteral("工具菜单"));
    imgBtn[1]->raise(); // refresh shows until a navigation starts

    picApp = MakePicture(this, 5280, 480, 6015, 4335);
    sroApp = new QScrollBar(Qt::Vertical, picApp);
    TwipsMove(sroApp, 5760, 0, 255, 4335);
    picAppCore = MakePicture(picApp, 0, 0, 6015, 1815);
    auto *icoTemplate = MakePicture(picAppCore, 0, 0, 720, 720);
    icoTemplate->setPicture(ResPicture(QStringLiteral("picAIco")));
    icoTemplate->hide();
    picAIco.setTemplate(icoTemplate);
    lblAddApp[1] = MakeLabel(picAppCore, 4320, 120, 1260, 420, QStringLiteral("添加应用"), 15.75);
    tmrSApp = new VbTimer(picApp, 1, false);
    lblAddApp[0] = MakeLabel(picApp, 4320, 120, 1260, 420, QStringLiteral("添加应用"), 15.75);
    lblShow[2] = MakeLabel(picApp, 1185, 1800, 3825, 570, QStringLiteral("应用库里空空如也..."), 21.75);
    sroApp->raise();

    BM = new ucBookmarks(this);
    TwipsMove(BM, 6360, 4920, 4830, 2910);
}

void frmMain::buildMenu()
{
    struct Item
    {
        const char *caption;
        const char *shortcut;
    };
    static const Item items[19] = {
        {"保存当前页面", "Ctrl+S"}, {"打印当前页面", "Ctrl+P"}, {"-", ""},
        {"新建标签页", "Ctrl+T"}, {"关闭所有标签页", ""}, {"-", ""},
        {"添加当前页面至书签", "Ctrl+D"}, {"整理书签", ""}, {"-", ""},
        {"SuperHide", "F2"}, {"密码保护", "F4"}, {"启用鼠标手势", ""}, {"-", ""},
        {"程序设置", ""}, {"主题管理", ""}, {"任务管理器", ""}, {"-", ""},
        {"关于 Tessivane", ""}, {"关闭浏览器", ""},
    };
    mnuMain = new QMenu(QStringLiteral("Main"), this);
    mnuMain->setFont(UiFont());
    for (int i = 0; i < 19; ++i) {
        const QString caption = QString::fromUtf8(items[i].caption);
        if (caption == QLatin1String("-")) {
            mnuMc[i] = mnuMain->addSeparator();
            continue;
        }
        // The shortcut texts are labels only: the keys act through the hotkey poll.
        QString text = caption;
        if (*items[i].shortcut)
            text += QLatin1Char('\t') + QString::fromLatin1(items[i].shortcut);
        QAction *a = mnuMain->addAction(text);
        a->setCheckable(i == 11);
        mnuMc[i] = a;
        connect(a, &QAction::triggered, this, [this, a, i] {
            if (a->isCheckable())
                a->setChecked(!a->isChecked()); // the item's handler inverts the mark itself
            mnuMc_Click(i);
        });
    }
}

}  // namespace tessivane
