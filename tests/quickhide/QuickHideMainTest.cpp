// The tools-menu items for quick-hide and About on the real main window.
#include "Files.h"
#include "ProgramFolder.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmSHide.h"
#include "ucTabs.h"
#include "ucWeb.h"

#include "MainWindowSetup.h"
#include "PackageCopy.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using tessivane::frmAbout;
using tessivane::frmMain;
using tessivane::frmSHide;

namespace {

frmAbout *OpenAbout()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *a = qobject_cast<frmAbout *>(w); a && a->isVisible())
            return a;
    }
    return nullptr;
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
        QApplication::processEvents();
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
