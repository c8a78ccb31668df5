#include "ucWeb.h"

#include "Files.h"
#include "NavPage.h"
#include "PageRules.h"
#include "ProgramFolder.h"
#include "ThemeColors.h"
#include "Twips.h"
#include "UrlFileName.h"
#include "VbCompat.h"
#include "VbWidgets.h"
#include "WebView.h"
#include "ucCmdBtn.h"

#include <QApplication>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTimer>
#include <QWebEnginePage>

// The browser's built-in pictures live in a static library: make sure they
// are registered before the first one is read.
static void InitBrowserResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)done;
}

namespace {
const QString kAboutNav = QStringLiteral("about:nav");
// A tile thumbnail waits at most kNavShotTries ticks for a drawn page.
constexpr int kNavShotIntervalMs = 100;
constexpr int kNavShotTries = 20;

// The desktop's window-background colour (the background of text boxes).
long VbColorWindowBackground()
{
    const QColor c = QApplication::palette().color(QPalette::Base);
    return long(c.red()) | (long(c.green()) << 8) | (long(c.blue()) << 16);
}

// The error panel's whale: the shipped picture, or one drawn here when the
// program's resources do not carry it.
QPixmap whalePicture()
{
    InitBrowserResources();
    QPixmap shipped(QStringLiteral(":/res/imgWhale.png"));
    if (!shipped.isNull())
        return shipped;
    QPixmap pm(234, 197);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body(0x3C, 0x78, 0xB4), belly(0xDC, 0xEB, 0xF5);
    QPainterPath whale;
    whale.moveTo(20, 130);
    whale.cubicTo(20, 70, 90, 50, 150, 70);
    whale.cubicTo(185, 82, 200, 110, 205, 130);
    whale.lineTo(228, 105);
    whale.lineTo(222, 150);
    whale.lineTo(200, 150);
    whale.cubicTo(180, 175, 60, 185, 20, 130);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawPath(whale);
    p.setBrush(belly);
    p.drawEllipse(QRectF(35, 128, 130, 38));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(52, 100, 16, 16));
    p.setBrush(QColor(0x20, 0x30, 0x40));
    p.drawEllipse(QRectF(57, 104, 8, 8));
    p.setPen(QPen(body, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(95, 55), QPointF(90, 25));
    p.drawLine(QPointF(90, 25), QPointF(75, 12));
    p.drawLine(QPointF(90, 25), QPointF(105, 12));
    return pm;
}
} // namespace

ucWeb::ucWeb(QWidget *parent)
    : QWidget(parent)
{
    Wb = new WebView(this);

    picNav = new VbPictureBox(this);
    picNav->hide();
    createNavPage();

    picError = new VbPictureBox(this);
    picError->hide();
    lblShow[0] = new VbImage(picError);
    lblShow[0]->setFont(UiFont(21.75));
    lblShow[0]->setText(QStringLiteral("糟糕，出了点小问题..."));
    lblShow[0]->adjustSize();
    SetTTop(lblShow[0], 1080);
    lblShow[1] = new VbImage(picError);
    lblShow[1]->setFont(UiFont(14.25));
    lblShow[1]->setAlignment(Qt::AlignCenter);
    SetTTop(lblShow[1], 2160);
    imgWhale = new VbImage(picError);
    imgWhale->setPictureAutoSize(whalePicture());

    connect(Wb, &WebView::beforeNavigate2, this, &ucWeb::Wb_BeforeNavigate2);
    connect(Wb, &WebView::documentComplete, this, &ucWeb::Wb_DocumentComplete);
    connect(Wb, &WebView::downloadComplete, this, &ucWeb::DwnComplete);
    connect(Wb, &WebView::fileDownload, this,
            [this](const QString &, bool known, bool hasHref, const QString &href) { Wb_FileDownload(known, hasHref, href); });
    connect(Wb, &WebView::downloadHandOff, this, &ucWeb::DownloadHandOff);
    connect(Wb, &WebView::navigateComplete2, this, [this](const QString &url) {
        QVariant v(url);
        emit NavComplete2(Wb->pageObject(), &v);
    });
    connect(Wb, &WebView::navigateError, this, &ucWeb::Wb_NavigateError);
    connect(Wb, &WebView::newWindow2, this, &ucWeb::NewWndw2);
    connect(Wb, &WebView::progressChange, this, &ucWeb::Wb_ProgressChange);
    connect(Wb, &WebView::setSecureLockIcon, this, &ucWeb::Wb_SetSecureLockIcon);
    connect(Wb, &WebView::statusTextChange, this, &ucWeb::StaTxtChange);
    connect(Wb, &WebView::titleChange, this, &ucWeb::Wb_TitleChange);

    qApp->installEventFilter(this);

    TwipsMove(this, 0, 480, 5175, 4335);
    layoutPanels();
}

ucWeb::~ucWeb() = default;

bool ucWeb::eventFilter(QObject *watched, QEvent *e)
{
    // The page takes the focus when the user clicks into it or the host gives
    // it the focus; focus that Qt passes on by itself (a hidden or closed page,
    // the window coming back to the front) does not make it current.
    if (e->type() == QEvent::FocusIn) {
        auto *w = qobject_cast<QWidget *>(watched);
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(e)->reason();
        if (w && isAncestorOf(w) && (reason == Qt::MouseFocusReason || reason == Qt::OtherFocusReason)) {
            if (!m_hasFocus) {
                m_hasFocus = true;
                emit GotFocus();
            }
        }
    } else if (e->type() == QEvent::FocusOut) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && isAncestorOf(w) && !isAncestorOf(QApplication::focusWidget()))
            m_hasFocus = false;
    }
    return QWidget::eventFilter(watched, e);
}

QString ucWeb::LocationURL() const
{
    return Wb->locationUrl();
}

QObject *ucWeb::wObject() const
{
    return Wb->pageObject();
}

QWebEnginePage *ucWeb::Docoment() const
{
    return Wb->hasDocument() ? Wb->pageObject() : nullptr;
}

void ucWeb::GoURL(const QString &Url, const QVariant &, const QVariant &, const QVariant &PostData,
                  const QVariant &Headers)
{
    Wb->navigate(Url, Headers.toString(), PostData.toByteArray());
}

void ucWeb::DoCommand(int lCommand, int flags)
{
    switch (lCommand) {
    case 0: Wb->goBack(); break;
    case 1: Wb->goForward(); break;
    case 2: Wb->stopLoad(); break;
    case 3: Wb->refresh(); break;
    case 4: {
        // The home page of the browser stands for the system's home page.
        const QString home = ReadSet(QStringLiteral("HomePage"));
        if (!home.isEmpty())
            Wb->navigate(home);
        break;
    }
    case 5: Wb->setBodyZoom(QString::number(flags) + QLatin1Char('%')); break;
    case 6: Wb->savePageAs(); break;
    case 7: Wb->printPage(); break;
    default: break;
    }
}

QPixmap ucWeb::GetWebImg()
{
    const int w = Wb->width() - 20;
    const int h = Wb->height() - 20;
    if (w <= 0 || h <= 0)
        return QPixmap();
    QPixmap img(w, h);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        p.drawPixmap(0, 0, grab(QRect(0, 0, w, h)));
    }
    QCoreApplication::processEvents();
    return img;
}

void ucWeb::SetFocus()
{
    Wb->setFocus(Qt::OtherFocusReason);
}

void ucWeb::SetPageShown(bool shown)
{
    if (m_pageShown == shown)
        return;
    m_pageShown = shown;
    applyPageShown();
}

bool ucWeb::Busy() const
{
    return Wb->page() && Wb->page()->isLoading();
}

void ucWeb::applyPageShown()
{
    // A page not shown lies under the page on top; its web view leaves the
    // screen, so the window no longer composes it at every frame of the page
    // on top, and its document counts as hidden with it. A page that waits
    // for its tile snapshot is drawn until the snapshot is taken.
    Wb->setVisible(m_pageShown || m_navShotTile >= 0);
}

void ucWeb::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    layoutPanels();
}

void ucWeb::layoutPanels()
{
    const double sw = TScaleWidth(this), sh = TScaleHeight(this);
    TwipsMove(Wb, -23, -23, sw + 46, sh + 46);
    TwipsMove(picNav, 0, 0, sw, sh);
    const double W = TWidth(picNav), H = THeight(picNav);
    TwipsMove(imgBG, 0, 0, W, H);
    TwipsMove(picError, 0, 0, W, H);
    TwipsMove(picAddWeb, (W - TWidth(picAddWeb)) / 2, (H - THeight(picAddWeb)) / 2);
    TwipsMove(imgWhale, W - TWidth(imgWhale), H - THeight(imgWhale));
    for (int i = 0; i < NavPage::kTiles; ++i) {
        VbPictureBox *t = picWeb[i];
        TwipsMove(t, NavPage::TileLeft(i, W, TWidth(t)), NavPage::TileTop(i, H, THeight(t)));
    }
    for (int i = 0; i < 2; ++i)
        SetTLeft(lblShow[i], (W - TWidth(lblShow[i])) / 2);
}

void ucWeb::createNavPage()
{
    // Children of picNav from the back of the z-order to the front.
    imgBG = new QLabel(picNav);
    imgBG->setScaledContents(true);

    for (int i = 0; i < NavPage::kTiles; ++i) {
        auto *tile = new VbPictureBox(picNav);
        TwipsMove(tile, 0, 0, NavPage::kTileWidth, NavPage::kTileHeight);
        tile->setToolTip(QStringLiteral("点击右键编辑导航"));
        auto *caption = new VbImage(tile);
        caption->setFont(UiFont(9));
        caption->setAlignment(Qt::AlignCenter);
        TwipsMove(caption, 0, NavPage::kCaptionTop, NavPage::kTileWidth, NavPage::kCaptionHeight);
        picWeb[i] = tile;
        lblWeb[i] = caption;
        connect(tile, &VbPictureBox::mouseDown, this,
                [this, i](int button, int shift, double x, double y) { picWeb_MouseDown(i, button, shift, x, y); });
        connect(caption, &VbImage::mouseDown, this,
                [this, i](int button, int shift, double x, double y) { picWeb_MouseDown(i, button, shift, x, y); });
    }

    picAddWeb = new VbPictureBox(picNav);
    TwipsMove(picAddWeb, 0, 0, NavPage::kAddWidth, NavPage::kAddHeight);
    picAddWeb->setBackColor(VbColorWindowBackground());
    picAddWeb->hide();
    lblShow[2] = new VbImage(picAddWeb);
    lblShow[2]->setFont(UiFont(15));
    lblShow[2]->setText(QStringLiteral("添加页面至导航"));
    lblShow[2]->adjustSize();
    TwipsMove(lblShow[2], 240, 120);
    txtAddUrl = new QLineEdit(picAddWeb);
    txtAddUrl->setFont(UiFont(9));
    TwipsMove(txtAddUrl, 240, 720, 4575, 375);
    cmdAddTxt = new ucCmdBtn(QStringLiteral("添加"), picAddWeb);
    TwipsMove(cmdAddTxt, 240, 1560, 4575, 495);
    cmdCnl = new ucCmdBtn(QStringLiteral("取消"), picAddWeb);
    TwipsMove(cmdCnl, 240, 2040, 4575, 495);
    connect(cmdAddTxt, &ucCmdBtn::Click, this, &ucWeb::cmdAddTxt_Click);
    connect(cmdCnl, &ucCmdBtn::Click, this, &ucWeb::cmdCnl_Click);

    m_navShotTimer = new QTimer(this);
    m_navShotTimer->setSingleShot(true);
    m_navShotTimer->setInterval(kNavShotIntervalMs);
    connect(m_navShotTimer, &QTimer::timeout, this, [this] {
        QPointer<ucWeb> self(this);
        navShotTick();
        if (self && m_navShotTile < 0)
            applyPageShown(); // the snapshot is done: a page in the background rests again
    });
}

QString ucWeb::lblWebTag(int i) const
{
    return (i >= 0 && i < NavPage::kTiles) ? m_navAddress[i] : QString();
}

QString ucWeb::picWebTag(int i) const
{
    return (i >= 0 && i < NavPage::kTiles) ? m_navPicPath[i] : QString();
}

void ucWeb::LoadNav()
{
    // The file is read anew at every visit: an edit made outside the program
    // shows at the next one.
    for (int i = 0; i < NavPage::kTiles; ++i) {
        picWeb[i]->setBackColor(ClrToolBar);
        lblWeb[i]->setBackColor(picWeb[i]->backColor());
        NavPage::TileFields tile{m_navAddress[i], lblWeb[i]->text(), lblWeb[i]->toolTip(), m_navPicPath[i]};
        const bool paint = NavPage::ApplyValue(tile, NavPage::ReadTile(i));
        m_navAddress[i] = tile.address;
        lblWeb[i]->setText(tile.caption);
        lblWeb[i]->setToolTip(PlainToolTip(tile.toolTip));
        m_navPicPath[i] = tile.picPath;
        if (!paint) {
            picWeb[i]->setPicture(QPixmap());
            continue;
        }
        // A missing or unreadable picture paints nothing: the tile shows no
        // picture rather than one left from an earlier filling.
        picWeb[i]->setPicture(NavPage::LoadPicture(m_navPicPath[i], picWeb[i]->size()));
    }
    picNav->setBackColor(ClrMain);
    const QString bg = toLocalPath(GetThemeDir() + QStringLiteral("NavBG.jpg"));
    if (QFileInfo::exists(bg)) {
        QPixmap pm(bg);
        if (!pm.isNull())
            imgBG->setPixmap(pm);
    }
}

void ucWeb::picWeb_MouseDown(int Index, int Button, int, double, double)
{
    if (Index < 0 || Index >= NavPage::kTiles)
        return;
    if (Button == 1 && !m_navAddress[Index].isEmpty()) {
        Wb->navigate(m_navAddress[Index]);
        bNavShot = true;
        return;
    }
    // The box keeps what it last held.
    m_addWebTag = Index;
    picAddWeb->show();
    picAddWeb->raise();
}

void ucWeb::cmdAddTxt_Click()
{
    const int i = m_addWebTag;
    const QString text = txtAddUrl->text();
    // The caption's tooltip keeps the old title until the next filling.
    m_navAddress[i] = text;
    lblWeb[i]->setText(text);
    m_navPicPath[i].clear();
    picWeb[i]->setPicture(QPixmap());
    NavPage::WriteTile(i, NavPage::TypedValue(text));
    picAddWeb->hide();
}

void ucWeb::cmdCnl_Click()
{
    picAddWeb->hide();
}

void ucWeb::SaveNavPic()
{
    const QString url = LocationURL();
    const int i = NavPage::MatchTile(m_navAddress, url);
    if (i < 0)
        return;
    const QString path = NavPage::PicPath(i);
    m_navPicPath[i] = path;
    // Written also when the picture cannot be saved.
    NavPage::WriteTile(i, NavPage::ShotValue(i, url, sTitle));
    // The engine reports a finished document before it has drawn it: the
    // snapshot is taken once the page shows something, or after a short while.
    m_navShotTile = i;
    m_navShotUrl = url;
    m_navShotTries = 0;
    applyPageShown();
    m_navShotTimer->start();
}

void ucWeb::navShotTick()
{
    const int i = m_navShotTile;
    if (i < 0 || LocationURL() != m_navShotUrl) {
        // The tab went on to another page: that page is not the tile's.
        m_navShotTile = -1;
        return;
    }
    QPointer<ucWeb> self(this);
    const QPixmap shot = GetWebImg();
    if (!self || m_navShotTile != i)
        return;
    if (LocationURL() != m_navShotUrl) {
        m_navShotTile = -1;
        return;
    }
    if (NavPage::IsBlank(shot.toImage()) && ++m_navShotTries < kNavShotTries) {
        m_navShotTimer->start();
        return;
    }
    m_navShotTile = -1;
    NavPage::SavePicture(shot, NavPage::PicPath(i));
}

void ucWeb::Wb_BeforeNavigate2(const QString &url, bool isMainFrame, bool isFormSubmission, const QString &headers,
                               bool *cancel)
{
    QPointer<ucWeb> self(this);
    QVariant vUrl(url), vFlags(0), vTarget, vPost, vHeaders(headers);
    emit BfrNav2(Wb->pageObject(), &vUrl, &vFlags, &vTarget, &vPost, &vHeaders, cancel);
    if (!self)
        return;
    if (url == kAboutNav) {
        picNav->show();
        picNav->raise();
        LoadNav();
    }
    if (picError->isVisible()) {
        picError->hide();
        bErrShown = false;
    }
    // A MobileMode that is no number counts as on.
    const auto mode = ToNumber(ReadSet(QStringLiteral("MobileMode")));
    if (mode && *mode == 0) {
        m_secureVal = 0;
        return;
    }
    if (bUANav)
        return;
    // Only a whole-page navigation can be issued again as it was: a frame's
    // would replace the page, a form's would lose its data.
    if (!isMainFrame || isFormSubmission) {
        m_secureVal = 0;
        return;
    }
    bUANav = true;
    const QString header = QStringLiteral("User-Agent: ") + ReadSet(QStringLiteral("UA"));
    QTimer::singleShot(0, this, [this, url, header] { Wb->reissue(url, header); });
    *cancel = true;
    m_secureVal = 0;
}

void ucWeb::Wb_DocumentComplete(const QString &url)
{
    QPointer<ucWeb> self(this);
    QVariant vUrl(url);
    emit DocComplete(Wb->pageObject(), &vUrl);
    if (!self)
        return;
    if (url != kAboutNav) {
        picNav->hide();
        picAddWeb->hide();
    }
    if (bNavShot && !bErrShown) {
        bNavShot = false;
        SaveNavPic();
        if (!self)
            return;
    }
    bUANav = false;
}

void ucWeb::Wb_FileDownload(bool activeKnown, bool hasHref, const QString &href)
{
    // No document, no active element, or one without "href": no event.
    if (!Wb->hasDocument() || !activeKnown || !hasHref)
        return;
    QString url = LocationURL();
    if (!href.isEmpty())
        url = href;
    QString fileName = GetUrlFileName(url);
    emit FilDwn(url, &fileName);
}

void ucWeb::Wb_NavigateError(const QString &url, int statusCode)
{
    if (PageRules::SuppressesErrorPanel(url))
        return;
    QString text = PageRules::ErrorText(statusCode);
    lblShow[1]->setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    lblShow[1]->adjustSize();
    layoutPanels();
    picError->setBackColor(ClrMain);
    picError->show();
    picError->raise();
    bErrShown = true;
    // The engine may have reported the failed page's title before its error.
    if (!sTitle.isEmpty() || !Wb->title().isEmpty())
        Wb_TitleChange(Wb->title());
}

void ucWeb::Wb_ProgressChange(int progress, int progressMax)
{
    if (const auto percent = PageRules::ProgressPercent(progress, progressMax))
        emit ProChange(*percent);
}

void ucWeb::Wb_SetSecureLockIcon(int value)
{
    if (m_secureVal == 0 && value != 0)
        m_secureVal = value;
    emit SetScrLckIcon(value);
}

void ucWeb::Wb_TitleChange(const QString &text)
{
    sTitle = PageRules::PageTitle(text, bErrShown);
    emit TtlChange(sTitle);
}
