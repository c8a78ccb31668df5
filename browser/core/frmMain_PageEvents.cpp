// Reactions of the main window to the events of its pages. Each handler gets
// the page's index first.
#include "frmMain.h"

#include "AddressLogic.h"
#include "Apps.h"
#include "Files.h"
#include "StartupLogic.h"
#include "Twips.h"
#include "VbCompat.h"
#include "ucListBox.h"
#include "ucTabs.h"
#include "ucWeb.h"

#include <QElapsedTimer>
#include <QWebEnginePage>

#include <limits>

namespace tessivane {

namespace {
// A second "广告" close of the only tab this soon after the first means the
// start page itself carries that title.
constexpr qint64 kAdReloadWindowMs = 10000;

// Milliseconds on a clock that never jumps.
qint64 MonotonicMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed() + 1;
}
} // namespace

void frmMain::Web_StaTxtChange(int Index, const QString &Text)
{
    if (Index != CurIdx)
        return;
    if (Text != QStringLiteral("完成") && !Text.isEmpty()) {
        lblSta->setTextFormat(Qt::PlainText);
        lblSta->setText(Text);
        SetTWidth(lblSta, PxToTwips(lblSta->fontMetrics().horizontalAdvance(Text) + 2));
        SetTWidth(picSta, TWidth(lblSta) + 120);
        picSta->setVisible(true);
        ZOrderTop(picSta);
    } else {
        picSta->setVisible(false);
    }
}

void frmMain::Web_BfrNav2(int Index, QObject *, QVariant *, QVariant *, QVariant *, QVariant *, QVariant *, bool *)
{
    if (Index == CurIdx)
        ZOrderTop(imgBtn[2]);
}

void frmMain::Web_DocComplete(int, QObject *, QVariant *)
{
}

void frmMain::Web_DwnComplete(int Index)
{
    if (Index != CurIdx)
        return;
    ucWeb *w = Web(Index);
    if (!w)
        return;
    const QPointer<ucWeb> guard(w);
    txtAddr->setText(w->LocationURL()); // refills the suggestion list
    if (!guard)
        return;
    PageDocument = w->Docoment();
    ZOrderTop(imgBtn[1]);
}

void frmMain::Web_NavComplete2(int Index, QObject *, QVariant *)
{
    RfshTabs();
    const double z = AddressLogic::ZoomValue(lblZmVl->text());
    if (ucWeb *w = Web(CurIdx))
        w->DoCommand(5, int(RoundHalfEven(qBound(-1e9, z, 1e9))));
    if (Index == CurIdx)
        RunLoadApps();
}

void frmMain::Web_ProChange(int Index, int Percent)
{
    // The tab keeps a 16-bit percentage; a value beyond it is dropped.
    if (Percent < std::numeric_limits<qint16>::min() || Percent > std::numeric_limits<qint16>::max())
        return;
    if (ucTabs *t = Tabs(Index))
        t->setProgress(Percent);
}

void frmMain::Web_NewWndw2(int, QObject **ppDisp, bool *)
{
    AddPage();
    if (ucWeb *w = Web(Web.ubound()); w && ppDisp)
        *ppDisp = w->wObject();
}

void frmMain::Web_TtlChange(int Index, const QString &Text)
{
    const QPointer<frmMain> self(this);
    if (FlagOn(ReadSet(QStringLiteral("UseFilter"))))
        CheckFilter(Text);
    if (!self)
        return;
    if (Text == QStringLiteral("广告")) {
        const qint64 now = MonotonicMs();
        const bool onlyTab = Tabs.count() == 2 && Tabs.exists(Index);
        ucWeb *page = Web(Index);
        const bool startPage = onlyTab && page && IsStartPageAddress(page->LocationURL());
        if (startPage || (onlyTab && m_adReloadTab == Index && now - m_adReloadMs < kAdReloadWindowMs)) {
            // The start page is the advert: leave the tab empty instead of
            // loading it again.
            m_adReloadTab = 0;
            if (ucWeb *w = Web(Index))
                w->GoURL(QStringLiteral("about:blank"));
        } else {
            if (onlyTab) {
                m_adReloadTab = Index;
                m_adReloadMs = now;
            }
            Tabs_TabClose(Index);
        }
        raise();
        activateWindow();
        return;
    }
    if (ucTabs *t = Tabs(Index))
        t->setCaption(Text);
    if (Index == CurIdx)
        SetTitle(Text + QStringLiteral(" - Tessivane"));
}

void frmMain::Web_SetScrLckIcon(int Index, int)
{
    if (Index != CurIdx)
        return;
    if (ucWeb *w = Web(Index))
        ZOrderTop(w->SecureVal() != 0 ? imgWebIco[1] : imgWebIco[0]);
}

void frmMain::Web_GotFocus(int Index)
{
    CurIdx = Index;
    picImg->setVisible(false);
    lstAddr->setVisible(false);
}

}  // namespace tessivane
