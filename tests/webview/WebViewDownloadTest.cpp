// Downloads, the synchronous page script and the history clearing.
#include "EventRecorder.h"
#include "LoopbackServer.h"

#include "Files.h"
#include "PageScript.h"
#include "ProgramFolder.h"
#include "WebFileDialog.h"
#include "WebProfile.h"
#include "WebView.h"
#include "ucWeb.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>

namespace {

class Downloads : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        setProgramFolderOverride(folder.path() + QLatin1Char('/'));
        WriteSet(QStringLiteral("MobileMode"), QStringLiteral("0"));
        ASSERT_TRUE(server.start());
        LoopbackServer::Response zip;
        zip.contentType = "application/zip";
        zip.body = "PK-zip-bytes";
        zip.headers = {{"Content-Disposition", "attachment; filename=\"a.zip\""}};
        server.route("/files/a.zip", zip);
        server.page("/links", "<html><head><title>Links</title></head><body>"
                              "<a id=l href='/files/a.zip?x=1'>get</a></body></html>");
        web = new ucWeb;
        web->resize(640, 480);
        web->show();
        rec = new EventRecorder(web);
        WebFileDialog::setSaveFunction([this](QWidget *, const QString &, const QString &) {
            ++dialogs;
            return answer;
        });
    }
    void TearDown() override
    {
        WebFileDialog::setSaveFunction(nullptr);
        delete rec;
        delete web;
        setProgramFolderOverride(QString());
    }
    bool load(const QString &url)
    {
        const int want = rec->docCompletes + 1;
        web->GoURL(url);
        return WaitFor([&] { return rec->docCompletes >= want; });
    }

    QTemporaryDir folder;
    QTemporaryDir target;
    LoopbackServer server;
    ucWeb *web = nullptr;
    EventRecorder *rec = nullptr;
    QString answer;
    int dialogs = 0;
};

TEST_F(Downloads, FocusedLinkReportsItsAddressAndIsSavedWhereTheUserChose)
{
    answer = target.filePath(QStringLiteral("saved.zip"));
    ASSERT_TRUE(load(server.url(QStringLiteral("/links"))));
    rec->clear();
    web->Wb->page()->runJavaScript(QStringLiteral("var l=document.getElementById('l');l.focus();l.click();"));
    ASSERT_TRUE(WaitFor([&] { return QFile(answer).size() == 12; }));
    EXPECT_EQ(rec->only({QStringLiteral("FilDwn")}),
              QStringList({QStringLiteral("FilDwn ") + server.url(QStringLiteral("/files/a.zip?x=1"))
                           + QStringLiteral(" | x=1")}));
    QFile f(answer);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("PK-zip-bytes"));
}

TEST_F(Downloads, BodyFocusRaisesNoEventButTheFileIsNotLost)
{
    answer = target.filePath(QStringLiteral("direct.zip"));
    ASSERT_TRUE(load(server.url(QStringLiteral("/links"))));
    rec->clear();
    web->GoURL(server.url(QStringLiteral("/files/a.zip")));
    ASSERT_TRUE(WaitFor([&] { return QFile(answer).size() == 12; }));
    EXPECT_TRUE(rec->only({QStringLiteral("FilDwn")}).isEmpty());
    EXPECT_EQ(dialogs, 1);
}

TEST_F(Downloads, HostThatTakesTheDownloadGetsItAndNothingIsSaved)
{
    answer = target.filePath(QStringLiteral("never.zip"));
    QString handed;
    QObject::connect(web, &ucWeb::DownloadHandOff, web, [&](const QString &url, bool *taken) {
        handed = url;
        *taken = true;
    });
    ASSERT_TRUE(load(server.url(QStringLiteral("/links"))));
    web->Wb->page()->runJavaScript(QStringLiteral("var l=document.getElementById('l');l.focus();l.click();"));
    ASSERT_TRUE(WaitFor([&] { return !handed.isEmpty(); }));
    EXPECT_EQ(handed, server.url(QStringLiteral("/files/a.zip?x=1")));
    EXPECT_EQ(dialogs, 0);
    EXPECT_FALSE(QFile::exists(answer));
}

TEST_F(Downloads, PageScriptWaitsForTheResultAndSurvivesThePageGoingAway)
{
    ASSERT_TRUE(load(server.url(QStringLiteral("/links"))));
    const PageScriptResult r = PageScript::run(web->Docoment(), QStringLiteral("document.title + '!'"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.value.toString(), QStringLiteral("Links!"));

    const PageScriptResult none = PageScript::run(nullptr, QStringLiteral("1"));
    EXPECT_FALSE(none.ok);

    // A page that is deleted while the call waits.
    auto *page = new QWebEnginePage(WebProfile::instance());
    page->setHtml(QStringLiteral("<title>t</title>"));
    QTimer::singleShot(0, page, [page] { delete page; });
    const PageScriptResult gone = PageScript::run(page, QStringLiteral("while(true){}"), 5000);
    EXPECT_FALSE(gone.ok);
}

TEST_F(Downloads, ClearingHistoryEmptiesBackAndForward)
{
    ASSERT_TRUE(load(server.url(QStringLiteral("/links"))));
    ASSERT_TRUE(load(server.url(QStringLiteral("/files/none"))));
    ASSERT_TRUE(web->Wb->history()->canGoBack());
    WebProfile::clearBrowsingHistory();
    EXPECT_FALSE(web->Wb->history()->canGoBack());
}

TEST_F(Downloads, PageCommandsZoomAndSaveAs)
{
    ASSERT_TRUE(load(server.url(QStringLiteral("/links"))));
    auto zoom = [&] {
        return PageScript::run(web->Docoment(), QStringLiteral("document.body.style.zoom")).value.toString();
    };
    web->DoCommand(5, 120);
    EXPECT_TRUE(WaitFor([&] { return zoom() == QStringLiteral("120%"); }));
    web->DoCommand(5); // no percentage given: 0%
    EXPECT_TRUE(WaitFor([&] { return zoom() == QStringLiteral("0%") || zoom().isEmpty(); }));
    web->DoCommand(9); // nothing
    answer = target.filePath(QStringLiteral("page.html"));
    web->DoCommand(6);
    EXPECT_EQ(dialogs, 1);
    ASSERT_TRUE(WaitFor([&] { return QFile(answer).size() > 0; }));
    QFile f(answer);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("Links"));
}

// The save dialog of the page's own commands speaks Chinese like the rest
// of the browser, offers the proposed name, and waits for its answer.
TEST(SaveDialog, ChineseLabelsAndTheProposedName)
{
    QStringList labels;
    QString title, offered;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        title = dialog->windowTitle();
        for (auto l : {QFileDialog::Accept, QFileDialog::Reject, QFileDialog::FileName, QFileDialog::FileType,
                       QFileDialog::LookIn})
            labels << dialog->labelText(l);
        offered = dialog->selectedFiles().value(0).section(QLatin1Char('/'), -1);
        dialog->reject();
    });
    EXPECT_EQ(WebFileDialog::getSaveFileName(nullptr, QStringLiteral("保存网页"), QStringLiteral("页面.html")), QString());
    EXPECT_EQ(title, QStringLiteral("保存网页"));
    EXPECT_EQ(labels, QStringList({QStringLiteral("保存(&S)"), QStringLiteral("取消"), QStringLiteral("文件名(&N):"),
                                   QStringLiteral("保存类型(&T):"), QStringLiteral("保存在(&I):")}));
    EXPECT_EQ(offered, QStringLiteral("页面.html"));
}

} // namespace
