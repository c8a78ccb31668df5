#include "frmSHide.h"

#include "Files.h"
#include "Main.h"
#include "QuickHideLogic.h"
#include "QuickHideWindows.h"
#include "ResPicture.h"
#include "Twips.h"
#include "frmMain.h"

#include <QApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

namespace tessivane {

QPointer<frmSHide> frmSHide::s_loaded;

namespace {
// Design client size (twips).
constexpr double kDesignWidth = 2910;
constexpr double kDesignHeight = 975;
// imgSH(3) at design, before the user's picture is loaded into it.
constexpr double kCustomWidth = 1575;
constexpr double kCustomHeight = 615;

// The user's picture, read with a size check first: a picture too large for
// memory is refused, one larger than the screen is shown scaled down.
QPixmap LoadCustomPicture(const QString &path, const QSize &screen, int taskBarH)
{
    if (path.isEmpty())
        return QPixmap();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid()) {
        const QSize shown = QuickHidePictureSize(size, screen, taskBarH);
        if (shown != size)
            reader.setScaledSize(shown);
    }
    const QImage img = reader.read();
    if (img.isNull())
        return QPixmap();
    const QSize shown = QuickHidePictureSize(img.size(), screen, taskBarH);
    if (shown != img.size())
        return QPixmap::fromImage(img.scaled(shown, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return QPixmap::fromImage(img);
}

frmMain *MainWindow()
{
    const QWidgetList tops = QApplication::topLevelWidgets();
    for (QWidget *w : tops) {
        if (auto *m = qobject_cast<frmMain *>(w))
            return m;
    }
    return nullptr;
}
} // namespace

frmSHide::frmSHide(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QStringLiteral("Tessivane"));
    TwipsMove(this, 0, 0, kDesignWidth, kDesignHeight);
    imgSH[0] = ResPicture(QStringLiteral("imgSH0"));
    imgSH[1] = ResPicture(QStringLiteral("imgSH1"));
    imgSH[2] = ResPicture(QStringLiteral("imgSH2"));
}

frmSHide *frmSHide::Load()
{
    if (!s_loaded) {
        s_loaded = new frmSHide;
        s_loaded->Form_Load();
    }
    return s_loaded;
}

frmSHide *frmSHide::Loaded()
{
    return s_loaded;
}

void frmSHide::Unload()
{
    frmSHide *w = s_loaded;
    s_loaded = nullptr;
    if (!w)
        return;
    QuickHideWindows::Leave();
    emit w->unloading();
    w->hide();
    w->deleteLater();
}

void frmSHide::Form_Load()
{
    // 1. Above all normal windows (the window flag).
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize screenPx = screen ? screen->geometry().size() : QSize(1024, 768);
    const int taskBarH = GetTaskBarH();

    // 2. The user's own picture.
    imgSH[3] = LoadCustomPicture(ReadSet(QStringLiteral("SHCustom")), screenPx, taskBarH);

    // 3.-5. The chosen picture, in the bottom-right corner above the taskbar.
    const int k = QuickHidePictureIndex(ReadSet(QStringLiteral("SuperHide")));
    if (k < 0)
        return; // no picture: design size and place
    m_picture = imgSH[static_cast<size_t>(k)];
    QSize size = m_picture.size();
    if (m_picture.isNull()) // an empty imgSH(3) keeps its design size
        size = QSize(TwipsToPx(kCustomWidth), TwipsToPx(kCustomHeight));
    setGeometry(QuickHidePlacement(screenPx, taskBarH, size));
    update();
}

void frmSHide::Form_KeyPress(int KeyAscii)
{
    Form_KeyPressText(QString(QChar(KeyAscii)));
}

void frmSHide::Form_KeyPressText(const QString &typed)
{
    if (!QuickHideKeyMatches(typed, ReadSet(QStringLiteral("SHKey"))))
        return;
    frmMain *m = MainWindow();
    if (m) {
        m->show();
        m->raise();
    }
    // The windows hidden with the browser come back above it.
    QuickHideWindows::Leave();
    if (QWidget *question = QApplication::activeModalWidget()) {
        question->raise();
        question->activateWindow();
    } else if (m) {
        m->activateWindow();
    }
    Unload();
}

void frmSHide::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    if (!m_picture.isNull())
        p.drawPixmap(0, 0, m_picture);
}

void frmSHide::keyPressEvent(QKeyEvent *e)
{
    // One typed character at a time, as the key-press event delivers them.
    const QString text = e->text();
    for (const QChar c : text) {
        if (!s_loaded || s_loaded != this)
            break;
        Form_KeyPressText(QString(c));
    }
}

void frmSHide::mousePressEvent(QMouseEvent *)
{
    setCursor(Qt::SizeAllCursor);
}

void frmSHide::mouseReleaseEvent(QMouseEvent *)
{
    unsetCursor();
}

}  // namespace tessivane
