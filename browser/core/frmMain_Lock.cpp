// The password lock and the content filter on page titles.
#include "frmMain.h"

#include "ContentFilter.h"
#include "Files.h"
#include "LockGuard.h"
#include "Main.h"
#include "PasswordMaskStyle.h"
#include "Twips.h"
#include "WidgetEventRelay.h"
#include "ucWeb.h"

namespace tessivane {

void frmMain::ConnectLockEvents()
{
    static const char *const kWired = "_lockWired";
    if (property(kWired).toBool())
        return;
    setProperty(kWired, true);

    txtPass->setEchoMode(QLineEdit::Password);
    auto *mask = new PasswordMaskStyle;
    mask->setParent(txtPass);
    txtPass->setStyle(mask);
    auto *relay = new WidgetEventRelay(txtPass);
    relay->setKeyPress([this](int &k) { txtPass_KeyPress(k); });
    connect(tmrSPass, &QTimer::timeout, this, &frmMain::tmrSPass_Timer);
    new LockGuard(this, picPass, txtPass, [this] { return IsLocked(); });
}

bool frmMain::IsLocked() const
{
    return picPass && picCaption && tmrSPass && !tmrSPass->isEnabled() && TTop(picPass) == THeight(picCaption);
}

void frmMain::ShowLock()
{
    // A lock shown while the unlock glide runs stops the glide: otherwise the
    // next ticks would carry the panel away again.
    tmrSPass->setEnabled(false);
    SetTLeft(picPass, 0);
    SetTTop(picPass, THeight(picCaption));
    ZOrderTop(nullptr);
    txtPass->setFocus(Qt::OtherFocusReason);
}

void frmMain::txtPass_KeyPress(int &KeyAscii)
{
    if (ReadSet(QStringLiteral("Password")) == txtPass->text() && KeyAscii == 13) {
        KeyAscii = 0;
        tmrSPass->setEnabled(true);
        if (ucWeb *w = Web(CurIdx))
            w->SetFocus();
        txtPass->clear();
    }
}

void frmMain::tmrSPass_Timer()
{
    SlideCtl(picPass, 0, float(-TScaleHeight(this)), float(TWidth(picPass)), float(THeight(picPass)), 10, tmrSPass,
             QString());
}

void frmMain::CheckFilter(const QString &Title)
{
    const QString useFilter = ReadSet(QStringLiteral("UseFilter"));
    if (!ContentFilter::FilterOn(useFilter))
        return;
    if (ContentFilter::FindWord(Title, useFilter, ReadSet(QStringLiteral("Filter")), ReadSet(QStringLiteral("FilterText"))))
        ShowLock();
}

}  // namespace tessivane
