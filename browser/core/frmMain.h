#pragma once

#include "ControlArray.h"
#include "VbTimer.h"
#include "VbWidgets.h"

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
    VbPictureBox *BM = nullptr;                // bookmarks panel
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

    // ---- tools menu ----
    void mnuMc_Click(int index);

    // ---- layout and caption bar ----
    // Places every part of the window; runs whenever its size or state changes.
    void Form_Resize();

    // ---- tabs and pages ----
    // Opens a new, empty tab and makes it current; callers follow with
    // WebGoTo or GoStartPage.
    void AddPage();
    // Navigates the current page and gives it the focus.
    void WebGoTo(const QString &url);

    // ---- password lock and content filter ----
    // Shows the lock panel and puts the focus into the password box.
    void ShowLock();

protected:
    void closeEvent(QCloseEvent *e) override;

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
    bool m_unloaded = false;
};
