// The hotkey poll of the main window against a key state the test holds:
// whose window is active, keys held across ticks, keys tapped between two
// ticks (also while the page has the keyboard focus).
#include "FakeKeyState.h"
#include "Mouse.h"
#include "ProgramFolder.h"
#include "WebView.h"
#include "frmMain.h"
#include "ucWeb.h"

#include "MainWindowSetup.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>

using tessivane::frmMain;

namespace {

constexpr int kCtrl = 17, kT = 84, kW = 87, kF4 = 115;

class Hotkeys : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        w = OpenMainWindow(folder.path());
        ASSERT_TRUE(w);
        w->tmrKey->setEnabled(false); // the test runs the ticks itself
    }
    void TearDown() override
    {
        delete w;
        UnhookMouse();
        setProgramFolderOverride(QString());
    }
    int openTabs() const { return OpenTabCount(w); }
    void hold(std::initializer_list<int> vks)
    {
        keys.releaseAll();
        for (int vk : vks)
            keys.setDown(vk, true);
    }
    // The widget of the current page that takes the keyboard.
    QWidget *pageKeyboard() const
    {
        WebView *view = w->Web(w->CurIdx)->Wb;
        return view->focusProxy() ? view->focusProxy() : view;
    }

    FakeKeyState keys;
    QTemporaryDir folder;
    frmMain *w = nullptr;
};

TEST_F(Hotkeys, CtrlCombinationsTypedIntoAnotherProgramDoNothing)
{
    w->AddPage();
    ASSERT_EQ(openTabs(), 2);
    keys.setActive(false);
    hold({kCtrl, kW});
    w->tmrKey_Timer();
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 2);
    hold({kCtrl, kT});
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 2);

    // The same keys with the browser's window active: held, they repeat at every tick.
    keys.setActive(true);
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 3);
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 4);
    // The presses the held key repeats do not count once more after the release.
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_T, Qt::ControlModifier, QString(), true);
    QApplication::sendEvent(w, &repeat);
    keys.releaseAll();
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 4);
    hold({kCtrl, kW});
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 3);
    // A letter held without Ctrl does nothing.
    hold({kW});
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 3);
}

TEST_F(Hotkeys, F4LocksWhicheverProgramHasTheKeyboard)
{
    keys.setActive(false);
    hold({kF4});
    w->tmrKey_Timer();
    ASSERT_TRUE(WaitUntil([&] { return w->IsLocked(); }, 5000));
}

TEST_F(Hotkeys, CombinationTappedBetweenTwoTicksCountsOnceAlsoInThePage)
{
    ASSERT_TRUE(GoAndWait(w, "keys"));
    w->activateWindow();
    w->Web(w->CurIdx)->SetFocus();
    QWidget *page = pageKeyboard();

    // Down and up before the tick: nothing is held when the poll looks.
    QTest::keyClick(page, Qt::Key_T, Qt::ControlModifier);
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 2);
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 2);

    // Tapped twice between two ticks: once.
    QTest::keyClick(page, Qt::Key_T, Qt::ControlModifier);
    QTest::keyClick(page, Qt::Key_T, Qt::ControlModifier);
    w->tmrKey_Timer();
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 3);

    // Two different combinations between two ticks: each acts.
    ASSERT_FALSE(w->tmrSBM->isActive());
    QTest::keyClick(page, Qt::Key_T, Qt::ControlModifier);
    QTest::keyClick(page, Qt::Key_D, Qt::ControlModifier);
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 4);
    EXPECT_TRUE(w->tmrSBM->isActive()); // the bookmarks panel glides in

    // Ctrl tapped on its own, then the letter on its own: no combination.
    QTest::keyClick(page, Qt::Key_Control);
    QTest::keyClick(page, Qt::Key_T);
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 4);

    // Tapped here, but another program is active when the poll looks: nothing,
    // and the tap is used up.
    QTest::keyClick(page, Qt::Key_T, Qt::ControlModifier);
    keys.setActive(false);
    w->tmrKey_Timer();
    keys.setActive(true);
    w->tmrKey_Timer();
    EXPECT_EQ(openTabs(), 4);
}

} // namespace
