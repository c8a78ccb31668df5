// Gestures on the real main window: what each finished gesture does, and a
// middle-button drag over a page.
#include "Files.h"
#include "Mouse.h"
#include "ProgramFolder.h"
#include "frmMain.h"
#include "ucTabs.h"
#include "ucWeb.h"

#include "MainWindowSetup.h"
#include "PackageCopy.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>

using tessivane::frmMain;

namespace {

class Gestures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        w = OpenMainWindow(folder.path(), {{QStringLiteral("Unload"), QStringLiteral("0")}});
        ASSERT_TRUE(w);
    }
    void TearDown() override
    {
        UnhookMouse();
        delete w;
        setProgramFolderOverride(QString());
    }
    int openTabs() const { return OpenTabCount(w); }
    QString location() const { return CurrentPageAddress(w); }
    void go(const char *title) { ASSERT_TRUE(GoAndWait(w, title)); }

    QTemporaryDir folder;
    frmMain *w = nullptr;
};

} // namespace

TEST_F(Gestures, BackForwardAndRefresh)
{
    go("first");
    go("second");
    w->DoMouse(QStringLiteral("左"));
    ASSERT_TRUE(WaitUntil([&] { return location().contains(QLatin1String("first")); }, 15000));
    w->DoMouse(QStringLiteral("右"));
    ASSERT_TRUE(WaitUntil([&] { return location().contains(QLatin1String("second")); }, 15000));
    ASSERT_TRUE(WaitUntil([&] { return PageSettled(w, "second"); }, 15000));

    // Strings without an action change nothing; both refresh strings load the
    // same page again.
    ucWeb *page = w->Web(w->CurIdx);
    int loads = 0;
    QObject::connect(page->Docoment(), &QWebEnginePage::loadStarted, page, [&] { ++loads; });
    w->DoMouse(QStringLiteral("左右"));
    w->DoMouse(QString());
    ASSERT_TRUE(PageCaughtUp(page));
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(openTabs(), 1);
    for (const QString &refresh : {QStringLiteral("上下"), QStringLiteral("下上")}) {
        int completes = 0;
        const QMetaObject::Connection c =
            QObject::connect(page, &ucWeb::DocComplete, page, [&](QObject *, QVariant *) { ++completes; });
        w->DoMouse(refresh);
        const bool reloaded = WaitUntil([&] { return completes > 0; }, 15000);
        QObject::disconnect(c);
        ASSERT_TRUE(reloaded) << qPrintable(refresh);
        EXPECT_TRUE(location().contains(QLatin1String("second")));
    }
    EXPECT_EQ(openTabs(), 1);
}

TEST_F(Gestures, NewTabOnlyWhileTheButtonIsHeldAndCloseTab)
{
    SetMouseOn(false);
    w->DoMouse(QStringLiteral("下右"));
    EXPECT_EQ(openTabs(), 1);
    SetMouseOn(true);
    w->DoMouse(QStringLiteral("下右"));
    EXPECT_EQ(openTabs(), 2);
    EXPECT_FALSE(MouseOn());
    w->DoMouse(QStringLiteral("下右")); // repeated by a release without a press
    EXPECT_EQ(openTabs(), 2);

    w->DoMouse(QStringLiteral("下左"));
    EXPECT_EQ(openTabs(), 1);
    w->DoMouse(QStringLiteral("下左")); // the last tab stays
    EXPECT_EQ(openTabs(), 1);
}

TEST_F(Gestures, NothingHappensWhileLocked)
{
    w->ShowLock();
    ASSERT_TRUE(WaitUntil([&] { return w->IsLocked(); }, 5000));
    SetMouseOn(true);
    w->DoMouse(QStringLiteral("下右"));
    w->DoMouse(QStringLiteral("下左"));
    EXPECT_EQ(openTabs(), 1);
}

TEST_F(Gestures, MiddleDragOverAPageOpensATab)
{
    go("page");
    HookMouse();
    ucWeb *page = w->Web(w->CurIdx);
    ASSERT_NE(page, nullptr);
    const QPoint centre = page->rect().center();
    QWidget *target = page->childAt(centre);
    if (!target)
        target = page;
    auto send = [&](QEvent::Type type, Qt::MouseButton b, Qt::MouseButtons bs, QPoint local) {
        QMouseEvent e(type, QPointF(local), QPointF(target->mapToGlobal(local)), b, bs, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
    };
    const QPoint at = target->mapFrom(page, centre);
    send(QEvent::MouseButtonPress, Qt::MiddleButton, Qt::MiddleButton, at);
    send(QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, at + QPoint(0, 40));
    send(QEvent::MouseMove, Qt::NoButton, Qt::MiddleButton, at + QPoint(60, 40));
    EXPECT_EQ(MouseGesture(), QStringLiteral("下右"));
    send(QEvent::MouseButtonRelease, Qt::MiddleButton, Qt::NoButton, at + QPoint(60, 40));
    EXPECT_EQ(openTabs(), 2);
}
