#include "Clipboard.h"
#include "FakeFileDialogs.h"
#include "FakeMessageBoxes.h"
#include "FakeProcesses.h"
#include "FileDialogs.h"
#include "MessageBoxes.h"
#include "ModalDialog.h"
#include "Processes.h"
#include "QtMessageBoxes.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <signal.h>

namespace {
// Runs `act` on the first modal widget once it shows up.
void whenModalShows(std::function<void(QWidget *)> act)
{
    auto *timer = new QTimer;
    auto deadline = std::make_shared<QDeadlineTimer>(10000);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act, deadline] {
        if (QWidget *w = QApplication::activeModalWidget()) {
            timer->deleteLater();
            timer->stop();
            act(w);
        } else if (deadline->hasExpired()) {
            timer->deleteLater();
            timer->stop();
        }
    });
    timer->start(10);
}

QPushButton *buttonWithText(QWidget *box, const QString &text)
{
    for (QPushButton *b : box->findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    return nullptr;
}

TEST(MessageBoxes, FakeRecordsAnswersAndRestores)
{
    MessageBoxImpl *real = MessageBoxes::impl();
    {
        FakeMessageBoxes fake;
        EXPECT_EQ(MessageBoxes::impl(), &fake);
        fake.queueAnswer(MsgAnswer::No);
        fake.setDefaultAnswer(MsgAnswer::Yes);
        EXPECT_EQ(MsgBox(QStringLiteral("确认删除书签 a 吗？"), MsgButtons::YesNo, MsgIcon::Information,
                         QStringLiteral("删除书签")), MsgAnswer::No);
        EXPECT_EQ(MsgBox(QStringLiteral("x"), MsgButtons::YesNo, MsgIcon::Question, QStringLiteral("t")), MsgAnswer::Yes);
        ASSERT_EQ(fake.asked().size(), 2);
        EXPECT_EQ(fake.asked().at(0).text, QStringLiteral("确认删除书签 a 吗？"));
        EXPECT_EQ(fake.asked().at(0).title, QStringLiteral("删除书签"));
        EXPECT_EQ(fake.asked().at(0).icon, MsgIcon::Information);
        EXPECT_EQ(fake.asked().at(0).buttons, MsgButtons::YesNo);
    }
    EXPECT_EQ(MessageBoxes::impl(), real);
}

TEST(MessageBoxes, RealBoxShowsChineseButtonsTitleAndIcon)
{
    struct Row { MsgButtons buttons; MsgIcon icon; QMessageBox::Icon qtIcon; QStringList captions; QString click; MsgAnswer answer; };
    const Row rows[] = {
        {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::Question, {QStringLiteral("是"), QStringLiteral("否")},
         QStringLiteral("否"), MsgAnswer::No},
        {MsgButtons::YesNo, MsgIcon::Information, QMessageBox::Information, {QStringLiteral("是"), QStringLiteral("否")},
         QStringLiteral("是"), MsgAnswer::Yes},
        {MsgButtons::Ok, MsgIcon::Exclamation, QMessageBox::Warning, {QStringLiteral("确定")}, QStringLiteral("确定"),
         MsgAnswer::Ok},
        {MsgButtons::OkCancel, MsgIcon::Critical, QMessageBox::Critical, {QStringLiteral("确定"), QStringLiteral("取消")},
         QStringLiteral("取消"), MsgAnswer::Cancel},
        // Escape on a Yes/No box answers No.
        {MsgButtons::YesNo, MsgIcon::Question, QMessageBox::Question, {QStringLiteral("是"), QStringLiteral("否")},
         QString(), MsgAnswer::No},
    };
    for (const Row &r : rows) {
        QString title, text;
        QStringList captions;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenModalShows([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            for (QAbstractButton *b : box->buttons())
                captions << b->text();
            if (r.click.isEmpty())
                box->reject();
            else if (QPushButton *b = buttonWithText(box, r.click))
                b->click();
            else
                box->reject();
        });
        QtMessageBoxes real;
        const MsgAnswer answer = real.ask({QStringLiteral("您的操作会关闭所有已经打开的标签页\r\n您确定要继续吗？"),
                                           r.buttons, r.icon, QStringLiteral("关闭多个标签页")}, nullptr);
        EXPECT_EQ(answer, r.answer);
        EXPECT_EQ(title, QStringLiteral("关闭多个标签页"));
        EXPECT_EQ(text, QStringLiteral("您的操作会关闭所有已经打开的标签页\r\n您确定要继续吗？"));
        EXPECT_EQ(icon, r.qtIcon);
        captions.sort();
        QStringList expected = r.captions;
        expected.sort();
        EXPECT_EQ(captions, expected);
    }
}

// The quick-hide mode hides every window, open questions included: a hidden
// box keeps waiting and takes the answer given once it shows again.
TEST(MessageBoxes, HiddenBoxWaitsForItsAnswer)
{
    bool returned = false;
    bool waitedHidden = false;
    whenModalShows([&](QWidget *w) {
        QPointer<QWidget> box(w);
        box->hide();
        QTimer::singleShot(0, [&, box] {
            waitedHidden = !returned && box && !box->isVisible();
            if (!box)
                return;
            box->show();
            if (QPushButton *b = buttonWithText(box, QStringLiteral("是")))
                b->click();
        });
    });
    QtMessageBoxes real;
    const MsgAnswer answer = real.ask({QStringLiteral("确认删除书签 a 吗？"), MsgButtons::YesNo, MsgIcon::Question,
                                       QStringLiteral("删除书签")}, nullptr);
    returned = true;
    QCoreApplication::processEvents();
    EXPECT_TRUE(waitedHidden);
    EXPECT_EQ(answer, MsgAnswer::Yes);
}

// A dialog shown through ExecModal is modal, returns its result, and gives
// Rejected when it goes away unanswered.
TEST(ModalDialogs, ResultHidingAndDeletion)
{
    {
        QDialog d;
        QTimer::singleShot(0, &d, [&] {
            EXPECT_TRUE(d.isModal());
            EXPECT_EQ(QApplication::activeModalWidget(), &d);
            d.hide(); // not an answer
            QTimer::singleShot(0, &d, [&] { d.done(7); });
        });
        EXPECT_EQ(ExecModal(&d), 7);
    }
    auto *gone = new QDialog;
    QTimer::singleShot(0, gone, [gone] { delete gone; });
    EXPECT_EQ(ExecModal(gone), int(QDialog::Rejected));
    EXPECT_EQ(ExecModal(nullptr), int(QDialog::Rejected));
}

TEST(FileDialogs, FilterPairsBecomeQtFilters)
{
    const QChar nul(0);
    struct Row { QString in; QString out; };
    const Row rows[] = {
        {QStringLiteral("zip 文件") + nul + QStringLiteral("*.zip"), QStringLiteral("zip 文件 (*.zip)")},
        {QStringLiteral("应用 (*.zelp)") + nul + QStringLiteral("*.zelp") + nul + nul,
         QStringLiteral("应用 (*.zelp) (*.zelp)")},
        {QStringLiteral("a") + nul + QStringLiteral("*.a;*.b") + nul + QStringLiteral("all") + nul + QStringLiteral("*.*"),
         QStringLiteral("a (*.a *.b);;all (*.*)")},
        {QStringLiteral("Images (*.png)"), QStringLiteral("Images (*.png)")},
        {QString(), QString()},
    };
    for (const Row &r : rows)
        EXPECT_EQ(FileDialogs::qtFilter(r.in), r.out) << qPrintable(r.out);
}

TEST(FileDialogs, FakeRecordsAndCancelsWhenOutOfAnswers)
{
    FakeFileDialogs fake;
    fake.queueAnswer(QStringLiteral("/tmp/a b.zip"));
    EXPECT_EQ(FileDialogs::getSaveFileName(nullptr, QStringLiteral("zip 文件"), QStringLiteral("新建下载"),
                                           QStringLiteral("a.zip"), QStringLiteral("/p/")),
              QStringLiteral("/tmp/a b.zip"));
    EXPECT_EQ(FileDialogs::getOpenFileName(nullptr, QString(), QStringLiteral("t"), QString()), QString());
    ASSERT_EQ(fake.asked().size(), 2);
    EXPECT_EQ(fake.asked().at(0).kind, FileDialogRequest::Save);
    EXPECT_EQ(fake.asked().at(0).title, QStringLiteral("新建下载"));
    EXPECT_EQ(fake.asked().at(0).initialName, QStringLiteral("a.zip"));
    EXPECT_EQ(fake.asked().at(0).folder, QStringLiteral("/p/"));
    EXPECT_EQ(fake.asked().at(1).kind, FileDialogRequest::Open);
}

TEST(FileDialogs, RealSaveDialogOffersTitleFolderAndPresetName)
{
    QTemporaryDir dir;
    QString title, name, folder, accept;
    QStringList filters;
    whenModalShows([&](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        folder = dialog->directory().path();
        filters = dialog->nameFilters();
        accept = dialog->labelText(QFileDialog::Accept);
        if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name = edit->text();
        dialog->reject();
    });
    const QString chosen = FileDialogs::getSaveFileName(nullptr, QStringLiteral("zip 文件") + QChar(0) + QStringLiteral("*.zip"),
                                                        QStringLiteral("新建下载"), QStringLiteral("..\\..\\setup.zip"),
                                                        dir.path());
    EXPECT_EQ(chosen, QString());
    EXPECT_EQ(title, QStringLiteral("新建下载"));
    EXPECT_EQ(name, QStringLiteral("setup.zip"));
    EXPECT_EQ(folder, dir.path());
    EXPECT_EQ(filters, QStringList{QStringLiteral("zip 文件 (*.zip)")});
    EXPECT_EQ(accept, QStringLiteral("保存(&S)"));
}

TEST(FileDialogs, RealOpenDialogReturnsTheChosenPathEvenIfMissing)
{
    QTemporaryDir dir;
    const QString wanted = dir.path() + QStringLiteral("/新应用.zelp");
    QString accept;
    whenModalShows([&](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        ASSERT_NE(dialog, nullptr);
        accept = dialog->labelText(QFileDialog::Accept);
        // The dialog fills its folder view in the background; until then an
        // accept may only refresh the view, so it is repeated until it closes.
        auto *retry = new QTimer(dialog);
        QObject::connect(retry, &QTimer::timeout, dialog, [dialog, wanted] {
            if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                edit->setText(wanted);
            static_cast<QDialog *>(dialog)->accept(); // QFileDialog::accept takes the typed name
        });
        retry->start(20);
    });
    EXPECT_EQ(FileDialogs::getOpenFileName(nullptr, QStringLiteral("应用程序包") + QChar(0) + QStringLiteral("*.zelp"),
                                           QStringLiteral("安装应用"), dir.path()),
              wanted);
    EXPECT_EQ(accept, QStringLiteral("打开(&O)"));
}

TEST(Processes, RealStartPassesArgumentsWithoutAShell)
{
    QTemporaryDir dir;
    const QString tricky = dir.path() + QStringLiteral("/a b; touch pwned \"q\" %1 $HOME `x` |&");
    EXPECT_TRUE(Processes::startDetached(QStringLiteral("/usr/bin/touch"), {tricky}, true));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(tricky); }, 10000));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    EXPECT_FALSE(Processes::startDetached(dir.path() + QStringLiteral("/missing.exe"), {}, false));
    EXPECT_FALSE(Processes::startDetached(QString(), {}, false));
    EXPECT_FALSE(Processes::openDocument(QString()));
}

TEST(Processes, WatchedStartReportsTheExitCodeOnce)
{
    QObject context;
    QList<int> codes;
    Processes::startWatched(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exit 3")}, true, &context,
                            [&](int code) { codes << code; });
    Processes::startWatched(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("kill -9 $$")}, true,
                            &context, [&](int code) { codes << code; });
    Processes::startWatched(QStringLiteral("/no/such/program"), {}, true, &context, [&](int code) { codes << code; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return codes.size() == 3; }, 10000));
    std::sort(codes.begin(), codes.end());
    EXPECT_EQ(codes, QList<int>({-1, -1, 3}));
}

TEST(Processes, WatchedStartEndsWithItsContextUnreported)
{
    QTemporaryDir dir;
    const QString pidFile = dir.path() + QStringLiteral("/pid");
    bool called = false;
    auto released = std::make_shared<int>(0);
    {
        QObject context;
        std::shared_ptr<int> held = released;
        Processes::startWatched(QStringLiteral("/bin/sh"),
                                {QStringLiteral("-c"), QStringLiteral("echo $$ > \"$0\"; exec sleep 30"), pidFile}, true,
                                &context, [&called, held](int) { called = true; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(pidFile).size() > 0; }, 10000));
    }
    EXPECT_FALSE(called);
    EXPECT_EQ(released.use_count(), 1);
    QFile f(pidFile);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const pid_t pid = pid_t(f.readAll().trimmed().toInt());
    ASSERT_GT(pid, 0);
    EXPECT_NE(::kill(pid, 0), 0); // ended and reaped
}

TEST(Processes, FakeRecordsStartsAndDocuments)
{
    FakeProcesses fake;
    EXPECT_TRUE(Processes::startDetached(QStringLiteral("/p/Dunmora.exe"), {QStringLiteral("Show")}));
    fake.setResult(false);
    EXPECT_FALSE(Processes::startDetached(QStringLiteral("/p/rar.exe"), {QStringLiteral("x")}, true));
    EXPECT_FALSE(Processes::openDocument(QStringLiteral("/d/f.zip")));
    ASSERT_EQ(fake.starts().size(), 2);
    EXPECT_EQ(fake.starts().at(0).program, QStringLiteral("/p/Dunmora.exe"));
    EXPECT_EQ(fake.starts().at(0).arguments, QStringList{QStringLiteral("Show")});
    EXPECT_FALSE(fake.starts().at(0).hidden);
    EXPECT_TRUE(fake.starts().at(1).hidden);
    EXPECT_EQ(fake.documents(), QStringList{QStringLiteral("/d/f.zip")});
}

TEST(Clipboard, TextIsReplaced)
{
    Clipboard::setText(QStringLiteral("old"));
    Clipboard::setText(QStringLiteral("/p/rar.exe x \"/d/a.zelp\" \"/p/Apps\\a\""));
    EXPECT_EQ(Clipboard::text(), QStringLiteral("/p/rar.exe x \"/d/a.zelp\" \"/p/Apps\\a\""));
}
} // namespace
