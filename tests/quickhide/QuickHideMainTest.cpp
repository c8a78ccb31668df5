// The tools-menu items for quick-hide and About on the real main window.
#include "Files.h"
#include "ProgramFolder.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmSHide.h"
#include "frmTasks.h"
#include "MessageBoxes.h"
#include "frmApp.h"
#include "ucTabs.h"
#include "ucWeb.h"

#include "MainWindowSetup.h"
#include "PackageCopy.h"
#include "WaitUntil.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using tessivane::frmAbout;
using tessivane::frmMain;
using tessivane::frmSHide;
using tessivane::frmTasks;

namespace {

frmAbout *OpenAbout()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *a = qobject_cast<frmAbout *>(w); a && a->isVisible())
            return a;
    }
    return nullptr;
}

// The windows of the program that can be seen (menus and tooltips aside).
QWidgetList ShownWindows()
{
    QWidgetList shown;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowType() != Qt::ToolTip && w->windowType() != Qt::Popup)
            shown << w;
    }
    return shown;
}

int OpenManagers()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        n += qobject_cast<frmTasks *>(w) && w->isVisible() ? 1 : 0;
    return n;
}

class MenuWindows : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        w = OpenMainWindow(folder.path(), {{QStringLiteral("Unload"), QStringLiteral("0")}, {QStringLiteral("SHKey"), QStringLiteral("q")}});
        ASSERT_TRUE(w);
    }
    void TearDown() override
    {
        frmSHide::Unload();
        delete w;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        setProgramFolderOverride(QString());
    }
    int openTabs() const { return OpenTabCount(w); }

    QTemporaryDir folder;
    frmMain *w = nullptr;
};

} // namespace

TEST_F(MenuWindows, QuickHideHidesTheBrowserUntilItsKeyIsTyped)
{
    w->mnuMc_Click(9);
    EXPECT_FALSE(w->isVisible());
    frmSHide *sh = frmSHide::Loaded();
    ASSERT_NE(sh, nullptr);
    EXPECT_TRUE(sh->isVisible());

    // Again while on: nothing else changes.
    w->mnuMc_Click(9);
    EXPECT_EQ(frmSHide::Loaded(), sh);
    EXPECT_FALSE(w->isVisible());

    sh->Form_KeyPressText(QStringLiteral("Q"));
    EXPECT_FALSE(w->isVisible());
    sh->Form_KeyPressText(QStringLiteral("q"));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(frmSHide::Loaded(), nullptr);
}

TEST_F(MenuWindows, AKeyThatCannotBeTypedKeepsTheBrowserShown)
{
    for (const char *key : {"", "qq"}) {
        WriteSet(QStringLiteral("SHKey"), QString::fromUtf8(key));
        w->mnuMc_Click(9);
        EXPECT_TRUE(w->isVisible()) << key;
        EXPECT_EQ(frmSHide::Loaded(), nullptr) << key;
    }
}

TEST_F(MenuWindows, AboutIsModalAndItsLinkOpensATab)
{
    const int before = openTabs();
    bool seen = false;
    QTimer::singleShot(0, w, [&] {
        if (frmAbout *a = OpenAbout()) {
            seen = a->isModal();
            a->lblWeb_Click(1);
        }
    });
    w->mnuMc_Click(17); // returns once the window is closed
    EXPECT_TRUE(seen);
    EXPECT_EQ(openTabs(), before + 1);
    EXPECT_EQ(OpenAbout(), nullptr);

    QTimer::singleShot(0, w, [&] {
        if (frmAbout *a = OpenAbout())
            a->cmdOK_Click();
    });
    w->mnuMc_Click(17);
    EXPECT_EQ(openTabs(), before + 1);
    EXPECT_EQ(OpenAbout(), nullptr);
}

// Quick-hide leaves nothing on the screen but its picture: the main window,
// an app window, the task manager and an open question go, and so does a
// window that opens meanwhile; the key brings back what is still open, and
// the question still waits for its answer.
TEST_F(MenuWindows, QuickHideHidesEveryWindowAndBringsBackWhatIsOpen)
{
    QPointer<frmApp> app = new frmApp();
    app->show();
    // the task manager, opened twice from the menu: one manager
    w->mnuMc_Click(15);
    w->mnuMc_Click(15);
    EXPECT_EQ(OpenManagers(), 1);
    QPointer<frmTasks> tasks;
    for (QWidget *t : QApplication::topLevelWidgets()) {
        if (auto *m = qobject_cast<frmTasks *>(t))
            tasks = m;
    }
    ASSERT_TRUE(tasks);

    bool checked = false;
    QTimer::singleShot(0, w, [&] {
        QPointer<QWidget> box = QApplication::activeModalWidget();
        // whatever happens below, the question gets its answer
        const auto answer = qScopeGuard([&] {
            if (!box)
                return;
            for (QPushButton *b : box->findChildren<QPushButton *>()) {
                if (b->text() == QStringLiteral("是"))
                    b->click();
            }
        });
        ASSERT_TRUE(box);
        w->mnuMc_Click(9);
        frmSHide *sh = frmSHide::Loaded();
        ASSERT_NE(sh, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ShownWindows() == QWidgetList{sh}; }, 5000));
        EXPECT_TRUE(sh->windowFlags().testFlag(Qt::Tool)); // the one window left keeps off the task bar
        // an app window that opens while hidden is hidden as well ...
        QPointer<frmApp> late = new frmApp();
        late->show();
        ASSERT_TRUE(WaitUntil([&] { return late && !late->isVisible(); }, 5000));
        EXPECT_EQ(ShownWindows(), QWidgetList{sh});
        // ... and one closed meanwhile stays closed
        late->UnloadForm();

        sh->Form_KeyPressText(QStringLiteral("q"));
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(app && app->isVisible());
        EXPECT_TRUE(tasks && tasks->isVisible());
        EXPECT_TRUE(box && box->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), box.data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(late.isNull());
        checked = true;
    });
    const MsgAnswer answer = MsgBox(QStringLiteral("您确定要继续吗？"), MsgButtons::YesNo, MsgIcon::Question,
                                    QStringLiteral("问题"), w);
    EXPECT_TRUE(checked);
    EXPECT_EQ(answer, MsgAnswer::Yes); // the user's answer, not one made up by hiding the box
    if (app)
        app->close();
    if (tasks)
        tasks->close();
}

TEST_F(MenuWindows, QuickHideHidesTheAboutWindowUntilItsKeyIsTyped)
{
    bool checked = false;
    QTimer::singleShot(0, w, [&] {
        QPointer<frmAbout> about = OpenAbout();
        const auto close = qScopeGuard([&] {
            if (about)
                about->cmdOK_Click();
        });
        ASSERT_TRUE(about);
        w->mnuMc_Click(9);
        frmSHide *sh = frmSHide::Loaded();
        ASSERT_NE(sh, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return ShownWindows() == QWidgetList{sh}; }, 5000));
        sh->Form_KeyPressText(QStringLiteral("q"));
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(about && about->isVisible());
        checked = true;
    });
    w->mnuMc_Click(17); // returns once the window is closed
    EXPECT_TRUE(checked);
    EXPECT_EQ(OpenAbout(), nullptr);
}
