#pragma once

#include "ControlArray.h"
#include "VbTimer.h"
#include "VbWidgets.h"
#include "ucBookmarks.h"

#include <QLineEdit>
#include <QPointer>
#include <QWidget>

#include <array>

class QMenu;
class QAction;
class QScrollBar;
class InstanceChannel;
class ucTabs;
class ucWeb;
class ucListBox;
class QVariant;

namespace tessivane {

// The browser's one main window: a frameless window whose caption row, tab
// strip, toolbar and window buttons the program draws itself. Positions are in
// twips (15 to a pixel), as the layout is written.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // ---- controls (design values in twips; see the constructor) ----
    VbTimer *tmrSBM = nullptr;                 // glide of the bookmarks panel
    ucBookmarks *BM = nullptr;                 // bookmarks panel
    ucListBox *lstAddr = nullptr;              // address suggestion list
    VbPictureBox *picAddr = nullptr;           // address bar
    VbPictureBox *picZoom = nullptr;           // zoom group at the right of the address bar
    VbImage *imgDwn = nullptr;                 // shows the download manager
    VbImage *imgBM = nullptr;                  // bookmark button
    VbImage *lblZmVl = nullptr;                // zoom value
    std::array<VbImage *, 2> lblPlMi{};        // zoom in (0) and out (1)
    VbTimer *tmrSTxt = nullptr;                // glide of the address bar
    QLineEdit *txtAddr = nullptr;              // address text
    std::array<VbImage *, 2> imgWebIco{};      // security icon: plain (0), encrypted (1)
    VbPictureBox *picApp = nullptr;            // app library panel
    QScrollBar *sroApp = nullptr;              // scrolls the icon area
    VbPictureBox *picAppCore = nullptr;        // icon area
    ControlArray<VbPictureBox> picAIco;        // app icons; element 0 the hidden template
    std::array<VbImage *, 2> lblAddApp{};      // "添加应用" in the icon area (1) and the panel (0)
    VbTimer *tmrSApp = nullptr;                // glide of the app panel
    std::array<VbImage *, 3> lblShow{};        // lock panel lines (0, 1), empty app panel text (2)
    VbPictureBox *picCaption = nullptr;        // caption bar
    VbPictureBox *picTabBar = nullptr;         // tab strip
    ControlArray<ucTabs> Tabs;                 // tabs; element 0 the hidden template
    VbImage *imgAddWeb = nullptr;              // new tab
    std::array<VbImage *, 2> imgTabScr{};      // scroll the tab strip left (0), right (1); shown when tabs do not fit
    std::array<VbImage *, 4> imgBtn{};         // back, refresh, stop, tools menu
    std::array<VbImage *, 4> imgCtrl{};        // close, maximise/restore, minimise, app library
    VbPictureBox *picImg = nullptr;            // tab preview
    VbTimer *tmrRfsh = nullptr;                // preview refresh
    VbImage *imgWebImg = nullptr;              // preview picture
    VbTimer *tmrKey = nullptr;                 // hotkey poll
    VbPictureBox *picSta = nullptr;            // status bar
    VbImage *lblSta = nullptr;                 // status text
    VbPictureBox *picPass = nullptr;           // lock panel
    VbPictureBox *picPassCore = nullptr;       // centred block of the lock panel
    QLineEdit *txtPass = nullptr;              // password box
    VbTimer *tmrSPass = nullptr;               // glide of the lock panel
    ControlArray<ucWeb> Web;                   // pages; element 0 the hidden template
    QMenu *mnuMain = nullptr;                  // tools menu
    std::array<QAction *, 19> mnuMc{};         // its items

    int CurIdx = 0;
    int PreviewIdx = 0;
    // Position among the open tabs of the first tab on the strip.
    int TabFirst = 0;

    // ---- start-up, single instance, command line and shutdown ----
    // Runs the start-up sequence. False when the program must end at once
    // (missing config.ini, a later instance that forwarded its request, a
    // theme that cannot be loaded); exitCode then holds the process result.
    bool Form_Load(const QString &commandLine, int *exitCode);
    void Form_LinkExecute(const QString &cmdStr);
    void DoCmdLine();
    void GoStartPage();
    void SetDefBrowser(bool ask);
    void ClearHistory();
    // The command line the program was started with (arguments joined by blanks).
    QString CommandLine;

    // ---- theme ----
    // Colours the window and loads the frame pictures; false on any failure.
    bool LoadTheme();

    // ---- downloads ----
    void imgDwn_MouseUp(int Button, int Shift, double X, double Y);

    // ---- tools menu, toolbar and hotkeys ----
    void mnuMc_Click(int index);
    void ConnectToolbarEvents();
    void imgBtn_MouseMove(int Index, int Button, int Shift, double X, double Y);
    void imgBtn_MouseUp(int Index, int Button, int Shift, double X, double Y);
    void tmrKey_Timer();
    // X of the last mouse move over a toolbar button without the left button (twips).
    int DragX = 0;

    // bookmarks host
    // Wires the bookmark button, the panel's glide and its two events (once).
    void ConnectBookmarkEvents();
    // Closed panel: shows the save box with the current page's title. Always
    // starts the glide (in when closed, out when open).
    void imgBM_Click();
    // Closed panel: switches it to the list of bookmarks.
    void imgBM_DblClick();
    // One glide step of the bookmarks panel; the direction comes from tmrSBM's Tag.
    void tmrSBM_Timer();
    void BM_BookmarkAdded(const QString &bmCaption);
    void BM_BookmarkOpened(const QString &bmPath);
    // A double click on imgBM delivers a second release; it is not a click.
    bool m_bmDblClickRelease = false;

    // ---- layout and caption bar ----
    // Places every part of the window; runs whenever its size or state changes.
    void Form_Resize();
    // Fixes the maximised size in pixels (0 for MaxW or MaxH: the whole screen
    // in that axis) and the smallest size; start-up calls it once, right after
    // the window is first shown.
    void HookMaxSize(int MinW, int MinH, int MaxW, int MaxH);
    void picCaption_MouseDown(int Button, int Shift, double X, double Y);
    void picCaption_MouseMove(int Button, int Shift, double X, double Y);
    void picCaption_MouseUp(int Button, int Shift, double X, double Y);
    void picCaption_DblClick();
    // The four window buttons: 0 close, 1 maximise or restore, 2 minimise, 3 app panel.
    void imgCtrl_MouseUp(int Index, int Button, int Shift, double X, double Y);
    // Wires the caption bar, the window buttons and the sizing border (once).
    void ConnectFrameEvents();
    // Frame state of the layout's own (caption drag, maximised size).
    QPoint m_captionPress;
    QPoint m_windowAtPress;
    bool m_captionArmed = false;
    bool m_manualMove = false;
    bool m_frameWired = false;
    bool m_inFormResize = false;
    int m_minW = 0, m_minH = 0, m_maxW = 0, m_maxH = 0;
    QRect m_normalGeometry;
    Qt::Edges m_borderEdges;
    bool m_borderPressed = false; // a press on the border started a resize
    bool m_zoomed = false; // maximised, by the window manager or by the window itself
    QRect MaximisedRect() const;

    // ---- tabs and pages ----
    // Opens a new, empty tab and makes it current; callers follow with
    // WebGoTo or GoStartPage.
    void AddPage();
    // Navigates the current page and gives it the focus.
    void WebGoTo(const QString &url);
    // Puts the hidden templates Tabs(0) and Web(0) and the element factories
    // in place (once; AddPage calls it).
    void InitPageArrays();
    // Connects a page's events to the Web_* handlers with its index.
    void ConnectWebEvents(ucWeb *w, int Index);
    void ConnectTabEvents(ucTabs *t, int Index);
    // Colours the tabs; with Closing, makes the nearest other open tab current.
    void SelTab(int Index, bool Closing);
    // Lays out the tabs and the pages.
    void RfshTabs();
    // Brings Ctl to the front, then the panels that always stay above the pages.
    void ZOrderTop(QWidget *Ctl);
    void SetTitle(const QString &Text);
    void Tabs_TabClose(int Index);
    void Tabs_MouseUp(int Index, int Button, int Shift, double X, double Y);
    void Tabs_MouseMove(int Index, int Button, int Shift, double X, double Y);
    void imgAddWeb_MouseUp(int Button, int Shift, double X, double Y);
    void tmrRfsh_Timer();
    // Scrolls the strip by Steps tabs (negative: to the left) when the tabs do not fit.
    void ScrollTabs(int Steps);
    // Scrolls the strip so that tab Index is on it (not laid out yet: RfshTabs follows).
    void RevealTab(int Index);
    // Only the page on top and the page whose thumbnail shows count as shown
    // for their documents; the others rest.
    void ShowPages();
    // Refresh or stop on top, as the current page is loading or not.
    void ShowLoadButton();
    // Tab strip and page events seen on their way through the application:
    // the wheel over the strip, a click into a page, the preview showing or
    // hiding. True when the event is used up.
    bool TabsEvent(QObject *watched, QEvent *e);
    // The page brought to the front last.
    int TopPage = 0;
    // Page events (frmMain_PageEvents.cpp), each with the page's index first.
    void Web_StaTxtChange(int Index, const QString &Text);
    void Web_BfrNav2(int Index, QObject *pDisp, QVariant *Url, QVariant *flags, QVariant *TargetFrameName,
                     QVariant *PostData, QVariant *Headers, bool *Cancel);
    void Web_DocComplete(int Index, QObject *pDisp, QVariant *Url);
    void Web_DwnComplete(int Index);
    void Web_FilDwn(int Index, const QString &Url, QString *FileName);
    void Web_NavComplete2(int Index, QObject *pDisp, QVariant *Url);
    void Web_ProChange(int Index, int Percent);
    void Web_NewWndw2(int Index, QObject **ppDisp, bool *Cancel);
    void Web_TtlChange(int Index, const QString &Text);
    void Web_SetScrLckIcon(int Index, int SecureVal);
    void Web_GotFocus(int Index);
    // After Web_FilDwn: set *Taken when the download went to the download
    // manager; otherwise the page asks for a file and saves it itself.
    void Web_DownloadHandOff(int Index, const QString &Url, bool *Taken);

    // ---- address bar and zoom ----
    // Wires the address bar, the suggestion list and the zoom box (once).
    void ConnectAddressEvents();
    void picAddr_MouseUp(int Button, int Shift, double X, double Y);
    void tmrSTxt_Timer();
    void txtAddr_Change();
    void txtAddr_Click();
    // KeyAscii set to 0 swallows the key.
    void txtAddr_KeyPress(int &KeyAscii);
    void txtAddr_KeyUp(int KeyCode, int Shift);
    void lstAddr_MouseClicked();
    void lblPlMi_MouseUp(int Index, int Button, int Shift, double X, double Y);
    void lblZmVl_Click();
    // The width the address bar glides to: 375 collapsed, the inner width expanded.
    double AddrTargetWidth = 375;

    // ---- page-event reactions ----
    // The document of the current tab's page at its last download-complete,
    // for the apps (a QWebEnginePage). Empty once that page is gone.
    QPointer<QObject> PageDocument;
    // A start page titled "广告" would be closed and loaded again for ever:
    // the tab and the time of the last such reload.
    int m_adReloadTab = 0;
    qint64 m_adReloadMs = 0;

    // ---- password lock and content filter ----
    // Shows the lock panel and puts the focus into the password box.
    void ShowLock();
    // Wires the password box, the unlock glide and the input guard (once).
    void ConnectLockEvents();
    // KeyAscii set to 0 swallows the key.
    void txtPass_KeyPress(int &KeyAscii);
    void tmrSPass_Timer();
    // Locks the browser when the title holds a filtered word.
    void CheckFilter(const QString &Title);
    // The lock panel covers the window and no unlock glide runs.
    bool IsLocked() const;

    // ---- apps ----
    // Wires the app panel and registers the window as the apps' host (once).
    void ConnectAppEvents();
    // Rebuilds the app panel's icons from the app registry.
    void RfshApps();
    void lblAddApp_Click(int Index);
    void picAIco_MouseDown(int Index, int Button, int Shift, double X, double Y);
    void picAIco_MouseMove(int Index, int Button, int Shift, double X, double Y);
    void picAIco_MouseUp(int Index, int Button, int Shift, double X, double Y);
    void sroApp_Change();
    void sroApp_Scroll();
    void tmrSApp_Timer();
    // Y of the last mouse move over an app icon without the left button (twips);
    // its X shares DragX with the back button.
    int DragY = 0;

    // ---- mouse gestures ----
    // Carries out a finished gesture (its string of direction words).
    void DoMouse(const QString &SS);

protected:
    void closeEvent(QCloseEvent *e) override;
    // layout and caption bar
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void buildControls();
    void buildMenu();
    // The shutdown; false when the user kept the browser open.
    bool Form_Unload();
    // Asks whether to install a package and installs on Yes.
    void AskInstallApp(const QString &path);
    // The address of the current tab ("" when there is none).
    QString CurrentLocation() const;

    InstanceChannel *m_channel = nullptr;
    QString m_backTag; // "1" while a drag to the right has armed the forward action
    bool m_inKeyPoll = false;
    bool m_downloadTaken = false; // the file offered last went to Dunmora
    bool m_unloaded = false;
};

}  // namespace tessivane
