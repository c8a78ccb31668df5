// The app library panel of the main window and the main window's side of the
// apps: the host through which running apps open tabs, navigate and lock.
#include "frmMain.h"

#include "AppEngines.h"
#include "AppHost.h"
#include "AppPackages.h"
#include "AppPanelLayout.h"
#include "Apps.h"
#include "FileName.h"
#include "Files.h"
#include "Main.h"
#include "MessageBoxes.h"
#include "ProgramFolder.h"
#include "Twips.h"
#include "clsCdlg.h"
#include "frmSHide.h"

#include <QFileInfo>
#include <QPixmap>
#include <QScrollBar>

namespace tessivane {

namespace {

class MainAppHost : public AppHost
{
public:
    QPointer<frmMain> w;
    void AddPage() override
    {
        if (w)
            w->AddPage();
    }
    void WebGoTo(const QString &url) override
    {
        if (w)
            w->WebGoTo(url);
    }
    void ShowLock() override
    {
        if (w)
            w->ShowLock();
    }
    QObject *PageDocument() override { return w ? w->PageDocument.data() : nullptr; }
    void ClearHistory() override
    {
        if (w)
            w->ClearHistory();
    }
    void SlideAppPanel() override
    {
        if (w && w->tmrSApp)
            w->tmrSApp->setEnabled(true);
    }
    void RfshApps() override
    {
        if (w)
            w->RfshApps();
    }
    QWidget *MainWindow() override { return w.data(); }
    void EnginesInUse() override
    {
        frmSHide *sh = frmSHide::Load();
        if (sh && sh != m_owner) {
            m_owner = sh;
            QObject::connect(sh, &frmSHide::unloading, sh, [] { AppEngines::EndAll(); });
        }
    }
    QPointer<frmSHide> m_owner;
};

MainAppHost &Host()
{
    static MainAppHost host;
    return host;
}

} // namespace

void frmMain::ConnectAppEvents()
{
    Host().w = this;
    AppHosting::setHost(&Host());

    picAIco.setFactory([this](int index) {
        VbPictureBox *tpl = picAIco(0);
        auto *ico = new VbPictureBox(picAppCore);
        if (tpl) {
            ico->setPicture(tpl->picture());
            SetTwips(ico, {TLeft(tpl), TTop(tpl), TWidth(tpl), THeight(tpl)});
        }
        connect(ico, &VbPictureBox::mouseDown, this,
                [this, index](int b, int s, double x, double y) { picAIco_MouseDown(index, b, s, x, y); });
        connect(ico, &VbPictureBox::mouseMove, this,
                [this, index](int b, int s, double x, double y) { picAIco_MouseMove(index, b, s, x, y); });
        connect(ico, &VbPictureBox::mouseUp, this,
                [this, index](int b, int s, double x, double y) { picAIco_MouseUp(index, b, s, x, y); });
        return ico;
    });
    for (int i = 0; i < 2; ++i) {
        if (lblAddApp[i])
            connect(lblAddApp[i], &VbImage::clicked, this, [this, i] { lblAddApp_Click(i); });
    }
    connect(sroApp, &QScrollBar::valueChanged, this, [this](int) { sroApp_Change(); });
    connect(sroApp, &QScrollBar::sliderMoved, this, [this](int) { sroApp_Scroll(); });
    connect(tmrSApp, &QTimer::timeout, this, &frmMain::tmrSApp_Timer);
    sroApp->hide();
    // The panel's own light grey; the icon area lies above the panel's
    // "添加应用" and shows its own copy, the scroll bar above both.
    picApp->setBackColor(0x00EBEBEB);
    picAppCore->setBackColor(0x00EBEBEB);
    picAppCore->raise();
    sroApp->raise();
    for (VbImage *l : lblAddApp) {
        if (l) {
            l->setForeColor(0x00C0C0C0);
            l->setToolTip(QStringLiteral("添加应用"));
        }
    }
    if (lblShow[2])
        lblShow[2]->setForeColor(0x00808080);
}

void frmMain::RfshApps()
{
    const int count = AppWalkCount();
    if (count == 0) {
        picAppCore->hide();
        lblShow[2]->show();
        sroApp->hide();
        return;
    }
    for (int i = picAIco.ubound(); i >= 1; --i)
        picAIco.unload(i);

    const AppIconGrid g = AppGridFor(TWidth(picApp), THeight(picApp), kTwipsPerPixel);
    double bottom = 0;
    for (int k = 1; k <= count; ++k) {
        VbPictureBox *ico = picAIco.load(k);
        if (!ico)
            continue;
        const QString ini = AppIniPath(k);
        const QString iconValue = ini.isEmpty() ? QString() : ReadIni(QStringLiteral("App"), QStringLiteral("Icon"), ini);
        if (!iconValue.isEmpty()) {
            const QString file = AppFile(iconValue);
            QPixmap pic;
            if (!file.isEmpty() && pic.load(toLocalPath(file)))
                ico->setPicture(pic.scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
        TwipsMove(ico, AppIconLeft(k, g), AppIconTop(k, g), g.s, g.s);
        const QString name = ini.isEmpty() ? QString() : ReadIni(QStringLiteral("App"), QStringLiteral("Name"), ini);
        ico->setToolTip(PlainToolTip(name + QStringLiteral("    版权: ") + GetAppAbout(k)));
        ico->show();
        bottom = AppIconTop(k, g) + g.s;
    }
    picAppCore->show();
    SetTHeight(picAppCore, bottom + g.v);
    lblShow[2]->hide();
    if (THeight(picAppCore) > THeight(picApp)) {
        const double diff = THeight(picAppCore) - THeight(picApp);
        sroApp->setMaximum(int(qBound(0.0, diff, 32767.0)));
        sroApp->setSingleStep(int(g.s + g.v));
        sroApp->setPageStep(int(2 * (g.s + g.v)));
        sroApp->show();
        sroApp->raise();
    } else {
        sroApp->hide();
    }
}

void frmMain::sroApp_Change()
{
    SetTTop(picAppCore, -sroApp->value());
    if (lblAddApp[1])
        SetTTop(lblAddApp[1], sroApp->value());
}

void frmMain::sroApp_Scroll()
{
    sroApp_Change();
}

void frmMain::tmrSApp_Timer()
{
    const double top = THeight(picCaption);
    if (tmrSApp->Tag.isEmpty())
        SlideCtl(picApp, float(TScaleWidth(this) - TWidth(picApp)), float(top), float(TWidth(picApp)),
                 float(THeight(picApp)), 5, tmrSApp, QStringLiteral("1"));
    else
        SlideCtl(picApp, float(TScaleWidth(this)), float(top), float(TWidth(picApp)), float(THeight(picApp)), 5,
                 tmrSApp, QString());
}

void frmMain::lblAddApp_Click(int)
{
    clsCdlg dlg;
    dlg.ShowOpen(this, QStringLiteral("Zelp应用安装包(*.Zelp)") + QChar(0) + QStringLiteral("*.zelp"),
                 QStringLiteral("载入Zelp安装包"));
    if (dlg.FileName.isEmpty())
        return;
    QString path = dlg.FileName;
    const QString target = GetAppPath() + QStringLiteral("Apps\\") + GetFileName(path, false) + QStringLiteral(".zelp");
    // The same file written with "/" or "\" is the same file: copying it onto
    // itself would empty it.
    const QFileInfo from(toLocalPath(path)), to(toLocalPath(target));
    const bool same = toLocalPath(path) == toLocalPath(target)
        || (to.exists() && from.canonicalFilePath() == to.canonicalFilePath());
    if (!same) {
        CopyBinFile(path, target);
        path = target;
    }
    InstallApp(path);
}

void frmMain::picAIco_MouseDown(int, int, int, double, double)
{
    if (lblAddApp[1])
        lblAddApp[1]->setText(QStringLiteral("将应用拖拽出应用库可以删除应用"));
}

void frmMain::picAIco_MouseMove(int Index, int Button, int, double X, double Y)
{
    VbPictureBox *ico = picAIco(Index);
    if (!ico)
        return;
    if (Button & 1) {
        TwipsMove(ico, TLeft(ico) + X - DragX, TTop(ico) + Y - DragY);
    } else {
        DragX = int(X);
        DragY = int(Y);
    }
}

void frmMain::picAIco_MouseUp(int Index, int, int, double, double)
{
    QPointer<VbPictureBox> ico = picAIco(Index);
    if (!ico)
        return;
    const bool outside = TLeft(ico) + TWidth(ico) < 0 || TLeft(ico) > TWidth(picAppCore)
        || TTop(ico) + THeight(ico) < 0 || TTop(ico) > THeight(picAppCore);
    if (outside) {
        DelApp(Index);
        RfshApps();
    } else {
        tmrSApp->Tag = QStringLiteral("1");
        tmrSApp->setEnabled(true);
        // An entry that names no app's own ini is not run.
        const QString ini = AppIniPath(Index);
        const QString result = ini.isEmpty() ? QString() : RunApp(ini);
        if (!result.isEmpty())
            MsgBox(result, MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("应用出现错误"), this);
    }
    if (lblAddApp[1])
        lblAddApp[1]->setText(QStringLiteral("添加应用"));
}

}  // namespace tessivane
