// The searches behind the suggestion list answer as the whole searches do,
// keystroke after keystroke, also after the files changed in between.
#include "Apps.h"
#include "Files.h"
#include "TestProgramFolder.h"
#include "ucListBoxSource.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kHis = QStringLiteral("Data\\InputHis.ini");

// GetInputHis's result cut after its first `limit` entries.
QString FirstEntries(const QString &result, int limit)
{
    qsizetype end = 0;
    for (int k = 0; k < limit; ++k) {
        const qsizetype sep = result.indexOf(QStringLiteral("@@"), end);
        if (sep < 0)
            break;
        end = sep + 2;
    }
    return result.left(end);
}

// Rewrites a file with new bytes of the same length and its old modification
// time, so that only its content tells the change.
void Replace(const TestProgramFolder &folder, const QString &relative, const QByteArray &bytes)
{
    const QString full = folder.path() + QLatin1Char('/') + QString(relative).replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QDateTime stamp = QFileInfo(full).lastModified();
    ASSERT_EQ(folder.readBytes(relative).size(), bytes.size());
    folder.writeBytes(relative, bytes);
    QFile f(full);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
}

TEST(ListSource, HistoryAnswersAsTheWholeSearchCutAfterTheShownRows)
{
    TestProgramFolder folder;
    QByteArray many;
    for (int i = 1; i <= 30; ++i)
        many += "e" + QByteArray::number(i) + "@@";
    many += "\r\n";
    const QByteArray files[] = {
        "xo@@yo@@\r\n",
        "ab@@tail",
        "@@a@@ @@\r\n\r\nb@@\r\n",       // blank pieces and line breaks between entries
        "user@host@@a@@@b@@\r\n",        // written before "@" was escaped
        "x%40y@@a%25b@@50%40off@@\r\n",  // escaped "@" and "%"
        "a\r\nb@@c@@\r\n",               // a line break inside an entry
        "\xcc\xec\xc6\xf8\xd4\xa4\xb1\xa8@@\xcc\xec\xb0\xb2\xc3\xc5@@\r\n", // GBK: 天气预报, 天安门
        many,
        "\r\n",
        "",
    };
    const QString texts[] = {
        QString(), QStringLiteral("o"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("@"),
        QStringLiteral("%"), QStringLiteral("40"), QStringLiteral("x@y"), QStringLiteral("@h"),
        QStringLiteral("天"), QStringLiteral("e1"), QStringLiteral("e"), QStringLiteral("3"), QStringLiteral("zz"),
        QStringLiteral("a\r\nb"), QString(QChar(0)),
    };
    ucListBoxSource source; // one source for all: each file replaces the one before
    for (const QByteArray &file : files) {
        folder.writeBytes(kHis, file);
        for (const QString &t : texts) {
            for (const int limit : {9, 1, 1000}) {
                EXPECT_EQ(source.InputHis(t, limit), FirstEntries(GetInputHis(t), limit))
                    << file.constData() << " / " << t.toStdString() << " / " << limit;
            }
        }
    }
    QFile::remove(folder.path() + QStringLiteral("/Data/InputHis.ini"));
    EXPECT_EQ(source.InputHis(QString(), 9), QString());
}

TEST(ListSource, AppsAnswerAsFindApps)
{
    TestProgramFolder folder;
    ucListBoxSource source;
    EXPECT_EQ(source.Apps(QStringLiteral("a")), QString()); // no registry
    folder.installApps({QStringLiteral("Demo"), QStringLiteral("Other"), QStringLiteral("Node"),
                        QStringLiteral("天气助手")});
    const QString texts[] = {QString(), QStringLiteral("de"), QStringLiteral("DE"), QStringLiteral("天气"),
                             QStringLiteral("zzz")};
    for (const QString &t : texts)
        EXPECT_EQ(source.Apps(t), FindApps(t)) << t.toStdString();

    const char *registries[] = {
        "[Apps]\r\nCount=abc\r\napp1=app1x\\app1x.ini\r\n",
        "[Apps]\r\nCount=2\r\napp1=gone\\gone.ini\r\napp2=app2x\\app2x.ini\r\n",
        "[Apps]\r\nCount=3\r\napp1=..\\x.ini\r\napp3=app3x\\app3x.ini\r\n",
        "[Apps]\r\nCount=4000000000\r\napp2=app2x\\app2x.ini\r\n",
    };
    for (const char *reg : registries) {
        folder.writeBytes(QStringLiteral("Apps\\Apps.ini"), reg);
        for (const QString &t : texts)
            EXPECT_EQ(source.Apps(t), FindApps(t)) << reg << " / " << t.toStdString();
    }
}

TEST(ListSource, AnEditShowsAtTheNextKeystroke)
{
    TestProgramFolder folder;
    ucListBoxSource source;
    folder.writeBytes(kHis, "aa@@\r\n");
    EXPECT_EQ(source.InputHis(QStringLiteral("a"), 9), QStringLiteral("aa@@"));
    Replace(folder, kHis, "ab@@\r\n");
    EXPECT_EQ(source.InputHis(QStringLiteral("a"), 9), QStringLiteral("ab@@"));
    Replace(folder, kHis, "cc@@\r\n");
    EXPECT_EQ(source.InputHis(QStringLiteral("a"), 9), QString());

    folder.installApps({QStringLiteral("Demo")});
    EXPECT_EQ(source.Apps(QStringLiteral("de")), QStringLiteral("Demo@@"));
    const QString ini = QStringLiteral("Apps\\app1x\\app1x.ini");
    QByteArray bytes = folder.readBytes(ini);
    bytes.replace("Name=Demo", "Name=Dexo");
    Replace(folder, ini, bytes);
    EXPECT_EQ(source.Apps(QStringLiteral("de")), QStringLiteral("Dexo@@"));
    const QString reg = QStringLiteral("Apps\\Apps.ini");
    bytes = folder.readBytes(reg);
    bytes.replace("Count=1", "Count=0");
    Replace(folder, reg, bytes);
    EXPECT_EQ(source.Apps(QStringLiteral("de")), QString());
}

} // namespace
