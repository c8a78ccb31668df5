#pragma once

#include <QPixmap>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QTimer;
class QWebEnginePage;
class ucCmdBtn;
class VbImage;
class VbPictureBox;
class WebView;

// The page of one tab: a web view with three panels of its own drawn over it
// (the navigation page for "about:nav", the error panel of a failed
// navigation and the navigation page's add-tile panel). It re-issues
// navigations with a mobile User-Agent when MobileMode is on, keeps the page's
// security state and a title of its own, and takes snapshots of itself.
//
// It reports to its host only through its ten events and never calls into the
// host. Arguments the host may change are passed as pointers; connect with a
// direct connection.
class ucWeb : public QWidget
{
    Q_OBJECT
public:
    explicit ucWeb(QWidget *parent = nullptr);
    ~ucWeb() override;

    // The page title after the title rules; "" until the first title.
    QString LocationName() const { return sTitle; }
    // The current address ("about:nav" for the navigation page).
    QString LocationURL() const;
    // The page object; the host hands it out as the new window in NewWndw2.
    QObject *wObject() const;
    // The page's document for the apps' page bridge (run scripts on it with
    // PageScript); nullptr when nothing has been loaded.
    QWebEnginePage *Docoment() const;
    // The first non-zero security state since the last navigation start.
    int SecureVal() const { return m_secureVal; }

    // Navigates to Url. Headers: "Name: value" lines; PostData: the body of a
    // POST. flags and TargetFrameName have no counterpart and are ignored.
    void GoURL(const QString &Url, const QVariant &flags = QVariant(), const QVariant &TargetFrameName = QVariant(),
               const QVariant &PostData = QVariant(), const QVariant &Headers = QVariant());
    // 0 back, 1 forward, 2 stop, 3 refresh, 4 home, 5 zoom to flags percent,
    // 6 save as, 7 print; anything else does nothing.
    void DoCommand(int lCommand, int flags = 0);
    // A snapshot of the control, 20 pixels smaller than the web view in each
    // axis. Runs the event loop once: re-check what you hold afterwards.
    QPixmap GetWebImg();
    // Gives the web view the keyboard focus.
    void SetFocus();
    // Whether the document counts as shown (document.visibilityState). A page
    // not shown takes its web view off the screen and stops painting and
    // animating; the host shows only the page on top and one whose thumbnail
    // is on screen.
    void SetPageShown(bool shown);
    bool PageShown() const { return m_pageShown; }
    // The page is loading.
    bool Busy() const;

    // Child controls.
    WebView *Wb = nullptr;
    VbPictureBox *picNav = nullptr;
    QLabel *imgBG = nullptr;
    VbPictureBox *picAddWeb = nullptr;
    QLineEdit *txtAddUrl = nullptr;
    ucCmdBtn *cmdAddTxt = nullptr;
    ucCmdBtn *cmdCnl = nullptr;
    std::array<VbPictureBox *, 9> picWeb{};
    std::array<VbImage *, 9> lblWeb{};
    VbPictureBox *picError = nullptr;
    // 0 and 1: the error panel's heading and text; 2: the add-tile heading.
    std::array<VbImage *, 3> lblShow{};
    VbImage *imgWhale = nullptr;

    // State.
    bool bErrShown = false;
    bool bUANav = false;
    bool bNavShot = false;

    // The navigation page's tags: the tiles' addresses (lblWeb(i).Tag), their
    // thumbnail paths (picWeb(i).Tag) and the tile the add-tile panel edits
    // (picAddWeb.Tag).
    QString lblWebTag(int i) const;
    QString picWebTag(int i) const;
    int picAddWebTag() const { return m_addWebTag; }

signals:
    void StaTxtChange(const QString &Text);
    void BfrNav2(QObject *pDisp, QVariant *Url, QVariant *flags, QVariant *TargetFrameName, QVariant *PostData,
                 QVariant *Headers, bool *Cancel);
    void DocComplete(QObject *pDisp, QVariant *Url);
    void DwnComplete();
    void FilDwn(const QString &Url, QString *FileName);
    void NavComplete2(QObject *pDisp, QVariant *Url);
    void ProChange(int Percent);
    void NewWndw2(QObject **ppDisp, bool *Cancel);
    void TtlChange(const QString &Text);
    void SetScrLckIcon(int SecureVal);
    // The page control received the keyboard focus.
    void GotFocus();
    // Raised after FilDwn for every file the engine is about to download: set
    // *Taken when the host hands the download to another program; otherwise
    // the control asks for a file and saves it there itself.
    void DownloadHandOff(const QString &Url, bool *Taken);

protected:
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void Wb_BeforeNavigate2(const QString &url, bool isMainFrame, bool isFormSubmission, const QString &headers,
                            bool *cancel);
    void Wb_DocumentComplete(const QString &url);
    void Wb_FileDownload(bool activeKnown, bool hasHref, const QString &href);
    void Wb_NavigateError(const QString &url, int statusCode);
    void Wb_ProgressChange(int progress, int progressMax);
    void Wb_SetSecureLockIcon(int value);
    void Wb_TitleChange(const QString &text);
    void LoadNav();
    void SaveNavPic();
    void navShotTick();
    void picWeb_MouseDown(int Index, int Button, int Shift, double X, double Y);
    void cmdAddTxt_Click();
    void cmdCnl_Click();
    void createNavPage();
    void layoutPanels();
    void applyPageShown();

    QString sTitle;
    int m_secureVal = 0;
    bool m_hasFocus = false;
    bool m_pageShown = true;
    std::array<QString, 9> m_navAddress;
    std::array<QString, 9> m_navPicPath;
    int m_addWebTag = 0;
    // The tile thumbnail waits until the engine has drawn the loaded page.
    QTimer *m_navShotTimer = nullptr;
    int m_navShotTile = -1;
    QString m_navShotUrl;
    int m_navShotTries = 0;
};
