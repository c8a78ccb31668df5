// Loading the theme on a copy of the shipped program folder: a frame picture
// that cannot be read whole is a theme error, as a missing one is.
#include "Files.h"
#include "PackageCopy.h"
#include "ProgramFolder.h"
#include "ThemeColors.h"
#include "frmMain.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using tessivane::frmMain;

namespace {

class ThemeLoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(CopyPackage(folder.path()));
        setProgramFolderOverride(folder.path());
    }
    void TearDown() override { setProgramFolderOverride(QString()); }

    QString picture(const char *name) const { return toLocalPath(GetThemeDir() + QLatin1String(name)); }
    bool loads() const
    {
        frmMain w;
        return w.LoadTheme();
    }
    // Keeps the first part of the picture, as a copy broken off midway would.
    void cut(const char *name, double keep) const
    {
        QFile f(picture(name));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(qint64(f.size() * keep)));
    }

    QTemporaryDir folder;
};

TEST_F(ThemeLoad, ShippedThemeLoads)
{
    EXPECT_TRUE(loads());
}

TEST_F(ThemeLoad, BitmapCutShortIsAThemeError)
{
    cut("Cl.bmp", 0.6);
    EXPECT_FALSE(loads());
}

TEST_F(ThemeLoad, AddressBarBitmapCutInItsHeaderIsAThemeError)
{
    QFile f(picture("Tx.bmp"));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.resize(20));
    f.close();
    EXPECT_FALSE(loads());
}

TEST_F(ThemeLoad, MissingBitmapIsAThemeError)
{
    ASSERT_TRUE(QFile::remove(picture("Wr.bmp")));
    EXPECT_FALSE(loads());
}

} // namespace
