// Tabs and pages of the main window: the parallel arrays Tabs and Web, the
// current tab, the tab strip's layout, the stacking order and the preview.
#include "frmMain.h"

#include "TabStrip.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "VbCompat.h"
#include "ucTabs.h"
#include "ucWeb.h"

#include "ucListBox.h"

#include <QApplication>
#include <QPointer>
#include <QWheelEvent>

#include <algorithm>

namespace tessivane {

namespace {
std::vector<int> OpenIndices(const ControlArray<ucTabs> &tabs)
{
    std::vector<int> out;
    tabs.forEach([&](int i, ucTabs *) { out.push_back(i); });
    return out;
}
} // namespace

void frmMain::InitPageArrays()
{
    if (Tabs.at(0) && Web.at(0))
        return;
    // Element 0 of each array is the hidden template that new elements copy.
    auto *tab0 = new ucTabs(picTabBar);
    TwipsMove(tab0, 0, 0, 1695, 495);
    tab0->hide();
    Tabs.setTemplate(tab0);
    Tabs.setFactory([this](int index) {
        auto *t = new ucTabs(picTabBar);
        TwipsMove(t, 0, 0, 1695, 495);
        t->hide();
        ConnectTabEvents(t, index);
        return t;
    });

    auto *web0 = new ucWeb(this);
    TwipsMove(web0, 0, 480, 5175, 4335);
    web0->hide();
    Web.setTemplate(web0);
    Web.setFactory([this](int index) {
        auto *w = new ucWeb(this);
        TwipsMove(w, 0, 480, 5175, 4335);
        w->hide();
        ConnectWebEvents(w, index);
        return w;
    });

    // The preview's thin frame: the picture sits one pixel inside its box.
    picImg->setBackColor(0x808080);
    TwipsMove(imgWebImg, 15, 15, TWidth(picImg) - 30, THeight(picImg) - 30);

    connect(tmrRfsh, &QTimer::timeout, this, &frmMain::tmrRfsh_Timer, Qt::UniqueConnection);
    connect(imgAddWeb, &VbImage::mouseUp, this, &frmMain::imgAddWeb_MouseUp, Qt::UniqueConnection);
    // A click scrolls the strip by the tabs it shows, less one that stays in view.
    for (int k = 0; k < 2; ++k) {
        connect(imgTabScr[k], &VbImage::mouseUp, this, [this, k](int, int, double x, double y) {
            if (x < 0 || y < 0 || x >= TWidth(imgTabScr[k]) || y >= THeight(imgTabScr[k]))
                return;
            const TabStrip::Layout lay =
                TabStrip::Place(OpenIndices(Tabs), TScaleWidth(picTabBar), TWidth(imgAddWeb), TabFirst);
            const int step = std::max(1, lay.fit - 1);
            ScrollTabs(k == 0 ? -step : step);
        });
    }
    // The wheel over the strip, clicks into pages and the preview's showing
    // and hiding are seen on their way through the application.
    qApp->installEventFilter(this);
}

void frmMain::ConnectTabEvents(ucTabs *t, int Index)
{
    connect(t, &ucTabs::TabClose, this, [this, Index] { Tabs_TabClose(Index); });
    connect(t, &ucTabs::MouseUp, this,
            [this, Index](int b, int s, double x, double y) { Tabs_MouseUp(Index, b, s, x, y); });
    connect(t, &ucTabs::MouseMove, this,
            [this, Index](int b, int s, double x, double y) { Tabs_MouseMove(Index, b, s, x, y); });
}

void frmMain::ConnectWebEvents(ucWeb *w, int Index)
{
    connect(w, &ucWeb::StaTxtChange, this, [this, Index](const QString &t) { Web_StaTxtChange(Index, t); });
    connect(w, &ucWeb::BfrNav2, this,
            [this, Index](QObject *d, QVariant *u, QVariant *f, QVariant *t, QVariant *p, QVariant *h, bool *c) {
                Web_BfrNav2(Index, d, u, f, t, p, h, c);
            });
    connect(w, &ucWeb::DocComplete, this, [this, Index](QObject *d, QVariant *u) { Web_DocComplete(Index, d, u); });
    connect(w, &ucWeb::DwnComplete, this, [this, Index] { Web_DwnComplete(Index); });
    connect(w, &ucWeb::FilDwn, this, [this, Index](const QString &u, QString *n) { Web_FilDwn(Index, u, n); });
    connect(w, &ucWeb::NavComplete2, this, [this, Index](QObject *d, QVariant *u) { Web_NavComplete2(Index, d, u); });
    connect(w, &ucWeb::ProChange, this, [this, Index](int p) { Web_ProChange(Index, p); });
    connect(w, &ucWeb::NewWndw2, this, [this, Index](QObject **pp, bool *c) { Web_NewWndw2(Index, pp, c); });
    connect(w, &ucWeb::TtlChange, this, [this, Index](const QString &t) { Web_TtlChange(Index, t); });
    connect(w, &ucWeb::SetScrLckIcon, this, [this, Index](int v) { Web_SetScrLckIcon(Index, v); });
    connect(w, &ucWeb::GotFocus, this, [this, Index] { Web_GotFocus(Index); });
    connect(w, &ucWeb::DownloadHandOff, this,
            [this, Index](const QString &u, bool *taken) { Web_DownloadHandOff(Index, u, taken); });
}

void frmMain::AddPage()
{
    InitPageArrays();
    // Past the last 16-bit index no tab opens; the current one stays.
    ucTabs *tab = Tabs.loadNext();
    if (!tab)
        return;
    const int n = Tabs.ubound();
    ucWeb *web = Web.load(n);
    if (!web) {
        Tabs.unload(n);
        return;
    }
    RevealTab(n);
    RfshTabs(); // shows the new tab
    SelTab(n, false);
    tab->setProColor(ClrMain);
    web->show();
    ZOrderTop(web);
    CurIdx = n;
    ShowLoadButton();
}

void frmMain::WebGoTo(const QString &url)
{
    ucWeb *web = Web(CurIdx);
    if (!web)
        return;
    // A bookmark's text ends in a line break: the address is what stands between blanks.
    web->GoURL(url.trimmed());
    web->SetFocus();
}

void frmMain::SelTab(int Index, bool Closing)
{
    const std::vector<int> open = OpenIndices(Tabs);
    for (int i : open) {
        if (ucTabs *t = Tabs(i))
            t->setBackColor(ClrTabNrm);
    }
    if (!Closing) {
        if (ucTabs *t = Tabs(Index))
            t->setBackColor(ClrTabAct);
        return;
    }
    // The nearest open tab to the left; the leftmost tab hands over to its
    // right neighbour, never to the hidden template.
    const int j = TabStrip::SuccessorOnClose(open, Index);
    ucTabs *tab = Tabs(j);
    ucWeb *web = Web(j);
    if (j == 0 || !tab || !web)
        return;
    tab->setBackColor(ClrTabAct);
    ZOrderTop(web);
    CurIdx = j;
    txtAddr->setText(web->LocationURL());
    SetTitle(tab->Caption());
    ShowLoadButton();
}

void frmMain::RfshTabs()
{
    if (!picTabBar || !imgAddWeb)
        return;
    const std::vector<int> open = OpenIndices(Tabs);
    const TabStrip::Layout lay = TabStrip::Place(open, TScaleWidth(picTabBar), TWidth(imgAddWeb), TabFirst);
    TabFirst = lay.first;
    // Tabs scrolled off the strip are hidden; the others stand side by side.
    std::vector<int> onStrip;
    for (const TabStrip::Slot &s : lay.tabs) {
        if (ucTabs *t = Tabs(s.index)) {
            TwipsMove(t, s.left, 0, s.width);
            t->setVisible(true);
            onStrip.push_back(s.index);
        }
    }
    for (int i : open) {
        if (std::find(onStrip.begin(), onStrip.end(), i) == onStrip.end())
            Tabs(i)->setVisible(false);
    }
    for (int k = 0; k < 2; ++k) {
        if (!imgTabScr[k])
            continue;
        SetTLeft(imgTabScr[k], lay.buttonsLeft + k * TabStrip::kScrollButtonWidth);
        imgTabScr[k]->setVisible(lay.scrolls);
    }
    const double top = TabStrip::PageTop(THeight(picCaption), TWidth(picAddr), THeight(picAddr));
    const double sw = TScaleWidth(this), sh = TScaleHeight(this);
    if (sh - top < 0)
        return;
    for (int i : open) {
        if (ucWeb *w = Web(i))
            TwipsMove(w, 0, top, sw, sh - top);
    }
}

void frmMain::ScrollTabs(int Steps)
{
    TabFirst = std::max(0, TabFirst + Steps);
    RfshTabs();
}

void frmMain::RevealTab(int Index)
{
    if (!picTabBar || !imgAddWeb)
        return;
    const std::vector<int> open = OpenIndices(Tabs);
    const auto at = std::find(open.begin(), open.end(), Index);
    if (at == open.end())
        return;
    const TabStrip::Layout lay = TabStrip::Place(open, TScaleWidth(picTabBar), TWidth(imgAddWeb), TabFirst);
    TabFirst = TabStrip::Reveal(lay.first, lay.fit, int(at - open.begin()));
}

void frmMain::ShowPages()
{
    const bool preview = picImg && !picImg->isHidden();
    Web.forEach([&](int i, ucWeb *w) { w->SetPageShown(i == TopPage || (preview && i == PreviewIdx)); });
}

void frmMain::ShowLoadButton()
{
    ucWeb *web = Web(CurIdx);
    ZOrderTop(web && web->Busy() ? imgBtn[2] : imgBtn[1]);
}

bool frmMain::TabsEvent(QObject *watched, QEvent *e)
{
    const QEvent::Type type = e->type();
    if (type != QEvent::Wheel && type != QEvent::MouseButtonPress && type != QEvent::Show && type != QEvent::Hide)
        return false;
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || !picTabBar || !picImg)
        return false;
    if (type == QEvent::Wheel) {
        if (w != picTabBar && !picTabBar->isAncestorOf(w))
            return false;
        const QPoint d = static_cast<QWheelEvent *>(e)->angleDelta();
        const int delta = d.y() != 0 ? d.y() : d.x();
        if (delta != 0)
            ScrollTabs(delta > 0 ? -1 : 1);
        return true;
    }
    if (type == QEvent::MouseButtonPress) {
        // A click into a page hides the preview, also when the page has the focus already.
        if (picImg->isHidden() || w->window() != this)
            return false;
        for (QWidget *p = w; p && p != this; p = p->parentWidget()) {
            if (p->parentWidget() == this && qobject_cast<ucWeb *>(p)) {
                picImg->setVisible(false);
                break;
            }
        }
        return false;
    }
    // The preview refreshes only while it is on screen.
    if (w == picImg) {
        tmrRfsh->setEnabled(type == QEvent::Show && picImg->isVisible());
        ShowPages();
    }
    return false;
}

void frmMain::ZOrderTop(QWidget *Ctl)
{
    if (Ctl)
        Ctl->raise();
    if (auto *page = qobject_cast<ucWeb *>(Ctl)) {
        Web.forEach([&](int i, ucWeb *w) {
            if (w == page)
                TopPage = i;
        });
        ShowPages();
    }
    for (QWidget *w : std::initializer_list<QWidget *>{picAddr, lstAddr, picImg, picPass,
                                                       picCaption, picApp, BM}) {
        if (w)
            w->raise();
    }
}

void frmMain::SetTitle(const QString &Text)
{
    setWindowTitle(Text);
}

void frmMain::Tabs_MouseUp(int Index, int Button, int, double, double)
{
    ucTabs *tab = Tabs(Index);
    ucWeb *web = Web(Index);
    if (!tab || !web)
        return;
    switch (Button) {
    case 1: {
        picImg->setVisible(false);
        SelTab(Index, false);
        ZOrderTop(web);
        CurIdx = Index;
        web->SetFocus();
        txtAddr->setText(web->LocationURL());
        SetTitle(tab->Caption() + QStringLiteral(" - Tessivane"));
        ZOrderTop(web->SecureVal() != 0 ? imgWebIco[1] : imgWebIco[0]);
        ShowLoadButton();
        break;
    }
    case 2: {
        SetTLeft(picImg, TLeft(tab) + TLeft(picTabBar) + (TWidth(tab) - TWidth(picImg)) / 2);
        // The page draws again while its thumbnail shows; the first picture
        // may still be its last one from before, the refresh follows.
        PreviewIdx = Index;
        ShowPages();
        QPointer<ucWeb> guard(web);
        const QPixmap shot = web->GetWebImg(); // runs the event loop once
        if (!guard)
            return;
        imgWebImg->setPixmap(shot);
        picImg->setVisible(true);
        tmrRfsh->setEnabled(true);
        break;
    }
    case 4:
        Tabs_TabClose(Index);
        break;
    default:
        break;
    }
}

void frmMain::Tabs_MouseMove(int, int, int, double, double)
{
}

void frmMain::tmrRfsh_Timer()
{
    tmrRfsh->setEnabled(picImg->isVisible());
    if (!picImg->isVisible())
        return;
    ucWeb *web = Web(PreviewIdx);
    const QPixmap shot = web ? web->GetWebImg() : QPixmap();
    if (shot.isNull()) {
        picImg->setVisible(false);
        return;
    }
    imgWebImg->setPixmap(shot);
}

void frmMain::Tabs_TabClose(int Index)
{
    if (!Tabs.exists(Index))
        return;
    CurIdx = Index;
    if (Tabs.count() == 2) {
        // The last tab stays and shows the start page again.
        SelTab(Index, false);
        GoStartPage();
        return;
    }
    SelTab(Index, true);
    // Hidden and taken out at once, deleted later: this may run inside the
    // tab's or the page's own event.
    Web.unload(Index);
    Tabs.unload(Index);
    RevealTab(CurIdx);
    RfshTabs();
}

void frmMain::imgAddWeb_MouseUp(int, int, double, double)
{
    AddPage();
    GoStartPage();
}

}  // namespace tessivane
