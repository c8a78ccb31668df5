// The address bar: its glide, the address box with the suggestion list, and
// the zoom box.
#include "frmMain.h"

#include "AddressLogic.h"
#include "Files.h"
#include "Main.h"
#include "Twips.h"
#include "WidgetEventRelay.h"
#include "ucListBox.h"
#include "ucWeb.h"

#include <QCoreApplication>

namespace tessivane {

namespace {
constexpr double kCollapsedWidth = 375;
}

void frmMain::ConnectAddressEvents()
{
    static const char *const kWired = "_addressWired";
    if (property(kWired).toBool())
        return;
    setProperty(kWired, true);

    connect(picAddr, &VbPictureBox::mouseUp, this, &frmMain::picAddr_MouseUp);
    connect(tmrSTxt, &QTimer::timeout, this, &frmMain::tmrSTxt_Timer);
    connect(txtAddr, &QLineEdit::textChanged, this, [this] { txtAddr_Change(); });
    auto *relay = new WidgetEventRelay(txtAddr);
    relay->setKeyPress([this](int &k) { txtAddr_KeyPress(k); });
    relay->setKeyUp([this](int code, int shift) { txtAddr_KeyUp(code, shift); });
    relay->setClick([this] { txtAddr_Click(); });
    connect(lstAddr, &ucListBox::MouseClicked, this, &frmMain::lstAddr_MouseClicked);
    for (int i = 0; i < 2; ++i) {
        connect(lblPlMi[i], &VbImage::mouseUp, this,
                [this, i](int b, int s, double x, double y) { lblPlMi_MouseUp(i, b, s, x, y); });
    }
    connect(lblZmVl, &VbImage::clicked, this, &frmMain::lblZmVl_Click);
}

void frmMain::picAddr_MouseUp(int, int, double, double)
{
    if (TWidth(picAddr) == kCollapsedWidth) {
        AddrTargetWidth = TScaleWidth(this);
        txtAddr->setFocus(Qt::OtherFocusReason);
    } else {
        AddrTargetWidth = kCollapsedWidth;
        if (ucWeb *w = Web(CurIdx))
            w->SetFocus();
    }
    tmrSTxt->setEnabled(true);
}

void frmMain::tmrSTxt_Timer()
{
    SlideCtl(picAddr, float(TLeft(picAddr)), float(TTop(picAddr)), float(AddrTargetWidth), float(THeight(picAddr)), 5,
             tmrSTxt, QString());
    // The zoom box stays at the right end once the bar is wide enough for it.
    if (TWidth(picZoom) + 500 < TWidth(picAddr))
        SetTLeft(picZoom, TWidth(picAddr) - TWidth(picZoom) - 120);
    const double w = TWidth(picAddr) - 600 - TWidth(picZoom) - TWidth(imgWebIco[0]);
    if (w >= 0) // while the bar is narrow the box keeps its width
        SetTWidth(txtAddr, w);
    RfshTabs();
}

void frmMain::txtAddr_Change()
{
    const QString t = txtAddr->text();
    if (!t.isEmpty())
        lstAddr->EnterTxt(t);
}

void frmMain::txtAddr_Click()
{
    SetTWidth(lstAddr, TWidth(txtAddr));
    lstAddr->setVisible(true);
}

void frmMain::txtAddr_KeyPress(int &KeyAscii)
{
    if (KeyAscii == 13)
        KeyAscii = 0;
}

void frmMain::txtAddr_KeyUp(int KeyCode, int)
{
    lstAddr->setVisible(!txtAddr->text().isEmpty());
    switch (KeyCode) {
    case 13: {
        const AddressLogic::EnterAction a = AddressLogic::Enter(txtAddr->text(), lstAddr->Selected(),
                                                                lstAddr->SeledSearch(), ReadSet(QStringLiteral("Search")));
        if (a.url.isEmpty())
            return;
        WebGoTo(a.url);
        if (!a.record.isEmpty()) {
            // The new page's first events run before the entry is recorded;
            // what is recorded is what was navigated, whatever the list shows now.
            QPointer<frmMain> self(this);
            QCoreApplication::processEvents();
            if (!self)
                return;
            AddInputHis(a.record);
        }
        if (ucWeb *w = Web(CurIdx))
            w->SetFocus();
        break;
    }
    case 38:
        lstAddr->ChangeSelect(0);
        txtAddr->setCursorPosition(0);
        break;
    case 40:
        lstAddr->ChangeSelect(1);
        txtAddr->setCursorPosition(0);
        break;
    default:
        break;
    }
}

void frmMain::lstAddr_MouseClicked()
{
    txtAddr_KeyUp(13, 0);
}

void frmMain::lblPlMi_MouseUp(int Index, int, int, double, double)
{
    const std::optional<int> n = AddressLogic::ZoomStep(lblZmVl->text(), Index);
    if (!n)
        return;
    lblZmVl->setText(QString::number(*n) + QLatin1Char('%'));
    if (ucWeb *w = Web(CurIdx))
        w->DoCommand(5, *n);
    WriteSet(QStringLiteral("Zoom"), QString::number(*n));
}

void frmMain::lblZmVl_Click()
{
    lblZmVl->setText(QStringLiteral("100%"));
    if (ucWeb *w = Web(CurIdx))
        w->DoCommand(5, 100);
    WriteSet(QStringLiteral("Zoom"), QStringLiteral("100"));
}

}  // namespace tessivane
