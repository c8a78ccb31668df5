// The download row, the list and the window as widgets (offscreen).
#include "CFileDownload.h"
#include "DwnRequest.h"
#include "DwnShell.h"
#include "TransferEngine.h"
#include "ProgramFolder.h"
#include "TestServer.h"
#include "Twips.h"
#include "UrlDownload.h"
#include "VbWidgets.h"
#include "frmMain.h"
#include "ucDownload.h"
#include "ucDwnLst.h"

#include "FakeMessageBoxes.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include <dirent.h>
#include <unistd.h>

#include <sys/resource.h>

using dunmora::frmMain;

namespace {

class FakeShell : public DwnShell
{
public:
    bool answer = true;
    int asks = 0;
    QString title, text;
    QStringList opened;
    QList<QPair<QString, QStringList>> started;
    // Runs while the question is open, as a message box's own event loop
    // lets requests and transfers run.
    std::function<void()> during;

    bool askYesNo(QWidget *, const QString &t, const QString &x) override
    {
        ++asks;
        title = t;
        text = x;
        if (during)
            during();
        return answer;
    }
    bool openDocument(const QString &path) override
    {
        opened << path;
        return true;
    }
    bool startDetached(const QString &program, const QStringList &arguments) override
    {
        started.append({program, arguments});
        return true;
    }
};

// Runs action once, from the event loop, as soon as cond holds: the test's own
// frame lies below the blocking transfer calls, so actions during a transfer
// must come from inside its pumps.
void when(QObject *context, std::function<bool()> cond, std::function<void()> action)
{
    auto *timer = new QTimer(context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, context, [timer, cond, action] {
        if (!cond())
            return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start();
}

template <typename T>
T *child(const QWidget *w, const char *name)
{
    return w->findChild<T *>(QString::fromLatin1(name));
}

QString progText(const QWidget *row)
{
    return child<VbImage>(row, "lblProg")->text();
}

bool hasPercent(const QWidget *row)
{
    const QString t = progText(row);
    return t.startsWith(QStringLiteral("已下载 ")) && t != QStringLiteral("已下载 0%") && t != QStringLiteral("已下载 *%");
}

// Descriptors of this process that lead into dir (deleted files included).
int descriptorsInto(const QString &dir)
{
    const QByteArray prefix = QFile::encodeName(QFileInfo(dir).canonicalFilePath()) + '/';
    int n = 0;
    DIR *fds = ::opendir("/proc/self/fd");
    while (dirent *e = fds ? ::readdir(fds) : nullptr) {
        char target[4096];
        const ssize_t len = ::readlinkat(::dirfd(fds), e->d_name, target, sizeof target - 1);
        n += len > 0 && QByteArray(target, int(len)).startsWith(prefix);
    }
    if (fds)
        ::closedir(fds);
    return n;
}

int openDescriptors()
{
    int n = 0;
    DIR *fds = ::opendir("/proc/self/fd");
    while (dirent *e = fds ? ::readdir(fds) : nullptr)
        n += e->d_name[0] != '.';
    if (fds)
        ::closedir(fds);
    return n;
}

} // namespace

class WidgetTest : public QObject
{
    Q_OBJECT

private:
    FakeShell m_shell;
    TestServer m_server;
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        DwnShell::setInstance(&m_shell);
        QVERIFY(m_server.start());
        QVERIFY(m_dir.isValid());
    }
    void init()
    {
        m_shell = FakeShell();
        for (const QString &f : entriesOf(m_dir.path()))
            QFile::remove(m_dir.filePath(f));
    }

    void parseRequest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("show");
        QTest::addColumn<bool>("download");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("path");
        QTest::newRow("show") << "Show" << true << false << "" << "";
        QTest::newRow("SHOW") << "sHOW" << true << false << "" << "";
        QTest::newRow("show with blank") << "Show " << false << false << "" << "";
        QTest::newRow("request") << "http://h/a.zip@@/tmp/a.zip" << false << true << "http://h/a.zip" << "/tmp/a.zip";
        QTest::newRow("path holding @@") << "u@@p@@rest" << false << true << "u" << "p@@rest";
        QTest::newRow("unchanged pieces") << " \"u\" @@ p " << false << true << " \"u\" " << " p ";
        QTest::newRow("no separator") << "http://h/a.zip" << false << false << "" << "";
        QTest::newRow("empty path") << "u@@" << false << true << "u" << "";
    }
    void parseRequest()
    {
        QFETCH(QString, text);
        const DwnRequest r = ParseDwnRequest(text);
        QTEST(r.show, "show");
        QTEST(r.hasDownload, "download");
        QTEST(r.url, "url");
        QTEST(r.path, "path");
    }

    void rowProgress_data()
    {
        QTest::addColumn<qint64>("progress");
        QTest::addColumn<qint64>("max");
        QTest::addColumn<QString>("text");
        QTest::newRow("size unknown") << qint64(0) << qint64(0) << "已下载 0%";
        QTest::newRow("quarter") << qint64(50) << qint64(200) << "已下载 25%";
        QTest::newRow("29 of 100") << qint64(29) << qint64(100) << "已下载 29%";
        QTest::newRow("over 2^31") << qint64(2147483648LL + 10) << qint64(4294967296LL) << "已下载 50%";
        QTest::newRow("5 GB") << qint64(3000000000LL) << qint64(5000000000LL) << "已下载 60%";
        QTest::newRow("last byte of 5 GiB") << qint64(5368709119LL) << qint64(5368709120LL) << "已下载 99%";
        QTest::newRow("all of it") << qint64(5368709120LL) << qint64(5368709120LL) << "已下载 100%";
    }
    void rowProgress()
    {
        QFETCH(qint64, progress);
        QFETCH(qint64, max);
        ucDownload row;
        TwipsMove(&row, 0, 0, 4815, 975);
        emit row.downloader()->OnProgress(progress, max, BindStatus::DownloadingData, QString());
        QTEST(progText(&row), "text");
        const double track = TScaleWidth(child<VbPictureBox>(&row, "picPro"));
        const double fill = TWidth(child<VbImage>(&row, "lblPro"));
        if (max == 0)
            QCOMPARE(fill, 0.0);
        else
            QCOMPARE(fill, double(qint64(double(progress) / double(max) * track)) + 10);
        QVERIFY(!row.isFinished()); // 100 % alone does not finish a row
    }

    void rowLayout()
    {
        QWidget host;
        host.resize(400, 200);
        host.show();
        ucDownload &row = *new ucDownload(&host);
        row.show();
        TwipsMove(&row, 0, 0, 4815, 2000);
        QCOMPARE(row.height(), 975 / 15);
        auto *opt = child<VbPictureBox>(&row, "picOpt");
        auto *prog = child<VbImage>(&row, "lblProg");
        auto *pro = child<VbPictureBox>(&row, "picPro");
        QCOMPARE(TLeft(opt), 3720.0);
        QCOMPARE(TLeft(prog) + TWidth(prog), 3720.0 - 120);
        QCOMPARE(TLeft(pro) + TWidth(pro), TLeft(prog) - 120);
        QCOMPARE(child<VbImage>(&row, "imgCP1")->toolTip(), QStringLiteral("暂停下载"));
        QCOMPARE(child<VbImage>(&row, "imgCP0")->toolTip(), QStringLiteral("继续下载"));
        QCOMPARE(child<VbImage>(&row, "imgDel")->toolTip(), QStringLiteral("从列表中删除这个下载"));
    }

    void ftpRowStaysIdle()
    {
        ucDownload row;
        row.NewDownload(QStringLiteral("FTP://host/x.zip"), m_dir.filePath(QStringLiteral("x.zip")));
        QCOMPARE(child<VbImage>(&row, "lblCap")->text(), QStringLiteral("FileName"));
        QCOMPARE(progText(&row), QStringLiteral("已下载 *%"));
        QVERIFY(child<VbImage>(&row, "imgCP1")->isVisibleTo(&row));
        QVERIFY(!child<VbImage>(&row, "imgCP0")->isVisibleTo(&row));
        QVERIFY(entriesOf(m_dir.path()).isEmpty());
    }

    void rowCompletes_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("handBack");
        QTest::newRow("package") << "/bytes/3000" << "app.zelp" << true;
        QTest::newRow("capitals") << "/bytes/3000" << "app.ZELP" << false;
        QTest::newRow("other") << "/bytes/3000" << "app.zelp.txt" << false;
        QTest::newRow("size never given") << "/chunked/5000" << "c.zelp" << true;
        QTest::newRow("empty file") << "/bytes/0" << "e.bin" << false;
    }
    void rowCompletes()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        const QString target = m_dir.filePath(name);
        ucDownload row;
        TwipsMove(&row, 0, 0, 4815, 975);
        row.NewDownload(m_server.url(path), target);
        QVERIFY(row.isFinished());
        QCOMPARE(child<VbImage>(&row, "lblCap")->text(), name);
        QCOMPARE(progText(&row), QStringLiteral("下载完成"));
        QVERIFY(child<VbPictureBox>(&row, "picPro")->isHidden());
        QVERIFY(!child<VbImage>(&row, "imgCP0")->isVisibleTo(&row));
        QVERIFY(!child<VbImage>(&row, "imgCP1")->isVisibleTo(&row));
        QCOMPARE(TLeft(child<VbImage>(&row, "imgDel")), 0.0);
        QCOMPARE(TWidth(child<VbPictureBox>(&row, "picOpt")), 615.0);
        QCOMPARE(TLeft(child<VbPictureBox>(&row, "picOpt")), 4815.0 - 615);
        QVERIFY(QFile::exists(target));
        QFETCH(bool, handBack);
        if (handBack) {
            QCOMPARE(m_shell.started.size(), 1);
            QCOMPARE(m_shell.started.at(0).first, programFolder() + QStringLiteral("Tessivane"));
            QCOMPARE(m_shell.started.at(0).second, QStringList{target});
        } else {
            QVERIFY(m_shell.started.isEmpty());
        }
        // A late notification at 100 % changes nothing and hands nothing back again.
        emit row.downloader()->OnProgress(10, 10, BindStatus::EndDownloadData, QString());
        QCOMPARE(m_shell.started.size(), handBack ? 1 : 0);
    }

    void doubleClickOpensOnlyFinished()
    {
        ucDownload row;
        row.NewDownload(QStringLiteral("ftp://h/x"), m_dir.filePath(QStringLiteral("x")));
        QTest::mouseDClick(child<VbPictureBox>(&row, "picIcon"), Qt::LeftButton);
        QTest::mouseDClick(child<VbImage>(&row, "lblCap"), Qt::LeftButton);
        QVERIFY(m_shell.opened.isEmpty());

        ucDownload done;
        const QString target = m_dir.filePath(QStringLiteral("d.txt"));
        done.NewDownload(m_server.url(QStringLiteral("/bytes/10")), target);
        QTest::mouseDClick(child<VbImage>(&done, "lblCap"), Qt::LeftButton);
        QTest::mouseDClick(child<VbPictureBox>(&done, "picIcon"), Qt::LeftButton);
        QCOMPARE(m_shell.opened, (QStringList{target, target}));
    }

    void failureKeepsThePercentage()
    {
        ucDownload row;
        const QString target = m_dir.filePath(QStringLiteral("t.bin"));
        row.NewDownload(m_server.url(QStringLiteral("/truncated/400000")), target);
        QVERIFY(!row.isFinished());
        QVERIFY(progText(&row).startsWith(QStringLiteral("已下载 ")));
        QVERIFY(child<VbImage>(&row, "imgCP1")->isVisibleTo(&row));
        QVERIFY(entriesOf(m_dir.path()).isEmpty());
    }

    // A transfer that fails before any progress shows the percentage at 0,
    // never the template's placeholder.
    void failureBeforeProgressShowsZero()
    {
        QStringList targets{m_dir.filePath(QStringLiteral("missing/x.bin"))};
        QTemporaryDir readOnly;
        if (::geteuid() != 0) {
            QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            targets << readOnly.filePath(QStringLiteral("y.bin"));
        } else {
            targets << QStringLiteral("/proc/dunmora-test.bin"); // a folder even root cannot write
        }
        for (const QString &target : targets) {
            ucDownload row;
            TwipsMove(&row, 0, 0, 4815, 975);
            row.NewDownload(m_server.url(QStringLiteral("/bytes/1000")), target);
            QVERIFY2(!row.isFinished(), qPrintable(target));
            QCOMPARE(progText(&row), QStringLiteral("已下载 0%"));
            QVERIFY(child<VbImage>(&row, "imgCP1")->isVisibleTo(&row));
            QVERIFY(!QFile::exists(target));
        }
        QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    // Finished rows keep no descriptor: a hundred downloads one after another
    // all complete under a limit of 64, and a finished file deleted while its
    // row stays is gone at once.
    void hundredDownloadsUnderALowLimit()
    {
        rlimit saved{};
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &saved), 0);
        if (openDescriptors() > 40)
            QSKIP("too many descriptors open already for a limit of 64");
        rlimit low = saved;
        low.rlim_cur = 64;
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &low), 0);
        int finished = 0;
        {
            ucDwnLst list;
            for (int i = 1; i <= 100; ++i) {
                list.AddNewDwn(m_server.url(QStringLiteral("/bytes/%1").arg(1000 + i)), m_dir.filePath(QStringLiteral("n%1").arg(i)));
                finished += list.rows().at(i)->isFinished();
            }
            ::setrlimit(RLIMIT_NOFILE, &saved);
            QCOMPARE(finished, 100);
            QCOMPARE(descriptorsInto(m_dir.path()), 0);
            QVERIFY(QFile::remove(m_dir.filePath(QStringLiteral("n7"))));
            QCOMPARE(descriptorsInto(m_dir.path()), 0);
            QVERIFY(list.rows().exists(7));
            QCOMPARE(readAll(m_dir.filePath(QStringLiteral("n100"))), TestServer::pattern(1100));
        }
        ::setrlimit(RLIMIT_NOFILE, &saved);
    }

    // Pause aborts and leaves nothing; continue downloads again from byte 0.
    void pauseAndContinue()
    {
        ucDownload row;
        const QString target = m_dir.filePath(QStringLiteral("p.bin"));
        bool returned = false;
        QTimer::singleShot(0, &row, [&] {
            row.NewDownload(m_server.url(QStringLiteral("/slow/40000/5")), target);
            returned = true;
        });
        when(&row, [&] { return hasPercent(&row); },
             [&] { QTest::mouseClick(child<VbImage>(&row, "imgCP1"), Qt::LeftButton); });
        QTRY_VERIFY_WITH_TIMEOUT(returned, 20000);
        QVERIFY(!row.isFinished());
        QVERIFY(child<VbImage>(&row, "imgCP0")->isVisibleTo(&row));
        QVERIFY(!child<VbImage>(&row, "imgCP1")->isVisibleTo(&row));
        QVERIFY(entriesOf(m_dir.path()).isEmpty());
        QTest::mouseClick(child<VbImage>(&row, "imgCP0"), Qt::LeftButton); // blocks until done
        QVERIFY(row.isFinished());
        QCOMPARE(readAll(target), TestServer::pattern(40000));
    }

    void listStacksAndScrolls()
    {
        ucDwnLst list;
        QCOMPARE(list.size(), QSize(322, 378));
        for (int n = 1; n <= 10; ++n) {
            list.AddNewDwn(QStringLiteral("ftp://h/%1").arg(n), QStringLiteral("/tmp/%1").arg(n));
            QCOMPARE(list.rows().ubound(), n);
            QCOMPARE(TTop(list.rows().at(n)), 975.0 * (n - 1));
            QVERIFY(list.rows().at(n)->isVisibleTo(&list));
            QCOMPARE(list.scrollBar()->isVisibleTo(&list), n >= 5);
        }
        QScrollBar *bar = list.scrollBar();
        QCOMPARE(bar->maximum(), 10 * 975 - 4455);
        QCOMPARE(bar->singleStep(), 975);
        QCOMPARE(bar->pageStep(), 1950);
        auto *dlst = child<VbPictureBox>(&list, "picDLst");
        QCOMPARE(THeight(dlst), 9750.0);
        bar->setValue(bar->maximum());
        QCOMPARE(TTop(dlst), 1215.0 - 5295);
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(TTop(dlst), 1215.0 - 5295 + 975);
    }

    void removalRestacks()
    {
        ucDwnLst list;
        for (int n = 1; n <= 3; ++n)
            list.AddNewDwn(QStringLiteral("ftp://h/%1").arg(n), QStringLiteral("/tmp/%1").arg(n));
        QPointer<ucDownload> second = list.rows().at(2);
        QTest::mouseClick(child<VbImage>(second, "imgDel"), Qt::LeftButton);
        QVERIFY(!list.rows().exists(2));
        QCOMPARE(TTop(list.rows().at(3)), 975.0);
        QCOMPARE(THeight(child<VbPictureBox>(&list, "picDLst")), 1950.0);
        QTRY_VERIFY(second.isNull());
        list.AddNewDwn(QStringLiteral("ftp://h/4"), QStringLiteral("/tmp/4"));
        QCOMPARE(list.rows().ubound(), 4);
        QCOMPARE(TTop(list.rows().at(4)), 1950.0);

        QTest::mouseClick(child<VbImage>(list.rows().at(4), "imgDel"), Qt::LeftButton);
        list.AddNewDwn(QStringLiteral("ftp://h/5"), QStringLiteral("/tmp/5"));
        QCOMPARE(list.rows().ubound(), 4);
        QVERIFY(!list.rows().exists(2));
    }

    void clearing()
    {
        ucDwnLst list;
        QTest::mouseClick(child<VbImage>(&list, "lblClear"), Qt::LeftButton);
        QCOMPARE(m_shell.asks, 0);
        for (int n = 1; n <= 6; ++n)
            list.AddNewDwn(QStringLiteral("ftp://h/%1").arg(n), QStringLiteral("/tmp/%1").arg(n));
        m_shell.answer = false;
        QTest::mouseClick(child<VbImage>(&list, "lblClear"), Qt::LeftButton);
        QCOMPARE(m_shell.asks, 1);
        QCOMPARE(m_shell.title, QStringLiteral("清空"));
        QCOMPARE(m_shell.text, QStringLiteral("确定要清空下载列表吗？"));
        QCOMPARE(list.rows().count(), 7);
        m_shell.answer = true;
        list.scrollBar()->setValue(list.scrollBar()->maximum());
        QTest::mouseClick(child<VbImage>(&list, "lblClear"), Qt::LeftButton);
        QCOMPARE(list.rows().count(), 1);
        QVERIFY(!list.scrollBar()->isVisibleTo(&list));
        list.AddNewDwn(QStringLiteral("ftp://h/7"), QStringLiteral("/tmp/7"));
        QCOMPARE(list.rows().ubound(), 1);
        QCOMPARE(TTop(list.rows().at(1)), 0.0);
        QVERIFY(list.rows().at(1)->mapTo(&list, QPoint(0, 0)).y() >= 80);
    }

    // The row is taken out at once and deleted only after its call returned.
    void removalDuringTransfer()
    {
        ucDwnLst list;
        const QString target = m_dir.filePath(QStringLiteral("r.bin"));
        bool returned = false, aliveAfterRemoval = false;
        QPointer<ucDownload> row;
        QTimer::singleShot(0, &list, [&] {
            list.AddNewDwn(m_server.url(QStringLiteral("/slow/100000/5")), target);
            returned = true;
        });
        when(&list, [&] { return list.rows().exists(1) && hasPercent(list.rows().at(1)); }, [&] {
            row = list.rows().at(1);
            QTest::mouseClick(child<VbImage>(row, "imgDel"), Qt::LeftButton);
            aliveAfterRemoval = !row.isNull() && row->inTransferCall() && !list.rows().exists(1);
        });
        QTRY_VERIFY_WITH_TIMEOUT(returned, 20000);
        QVERIFY(aliveAfterRemoval);
        QTRY_VERIFY(row.isNull());
        QVERIFY(entriesOf(m_dir.path()).isEmpty());
    }

    // Two transfers, the second nested in the first; clearing stops both.
    void clearingDuringNestedTransfers()
    {
        ucDwnLst list;
        int returned = 0;
        QTimer::singleShot(0, &list, [&] {
            list.AddNewDwn(m_server.url(QStringLiteral("/slow/100000/5")), m_dir.filePath(QStringLiteral("a")));
            ++returned;
        });
        when(&list, [&] { return list.rows().exists(1) && hasPercent(list.rows().at(1)); }, [&] {
            list.AddNewDwn(m_server.url(QStringLiteral("/slow/100000/5")), m_dir.filePath(QStringLiteral("b")));
            ++returned;
        });
        when(&list, [&] { return list.rows().exists(2) && hasPercent(list.rows().at(2)); },
             [&] { QTest::mouseClick(child<VbImage>(&list, "lblClear"), Qt::LeftButton); });
        QTRY_COMPARE_WITH_TIMEOUT(returned, 2, 20000);
        QCOMPARE(m_shell.asks, 1);
        QCOMPARE(list.rows().count(), 1);
        QTRY_VERIFY(list.findChildren<ucDownload *>().size() == 1); // only the template
        QVERIFY(entriesOf(m_dir.path()).isEmpty());
    }

    // A later request runs nested; the earlier row still finishes on its own.
    void nestedRowsBothFinish()
    {
        ucDwnLst list;
        int returned = 0;
        bool firstDoneWhileSecondRan = false;
        QTimer::singleShot(0, &list, [&] {
            list.AddNewDwn(m_server.url(QStringLiteral("/slow/20000/5")), m_dir.filePath(QStringLiteral("a")));
            ++returned;
        });
        when(&list, [&] { return list.rows().exists(1) && hasPercent(list.rows().at(1)); }, [&] {
            when(&list, [&] { return list.rows().at(1)->isFinished(); },
                 [&] { firstDoneWhileSecondRan = list.rows().exists(2) && !list.rows().at(2)->isFinished(); });
            list.AddNewDwn(m_server.url(QStringLiteral("/slow/60000/5")), m_dir.filePath(QStringLiteral("b")));
            ++returned;
        });
        QTRY_COMPARE_WITH_TIMEOUT(returned, 2, 20000);
        QVERIFY(firstDoneWhileSecondRan);
        QVERIFY(list.rows().at(1)->isFinished());
        QVERIFY(list.rows().at(2)->isFinished());
        QCOMPARE(readAll(m_dir.filePath(QStringLiteral("a"))), TestServer::pattern(20000));
        QCOMPARE(readAll(m_dir.filePath(QStringLiteral("b"))), TestServer::pattern(60000));
    }

    void windowLooks()
    {
        frmMain w;
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.windowTitle(), QStringLiteral("Dunmora"));
        QCOMPARE(w.size(), QSize(321, 410));
        QCOMPARE(child<VbImage>(&w, "lblCaption")->text(), QStringLiteral("Tessivane 下载管理器"));
        QCOMPARE(TTop(w.list()), 480.0);
        QVERIFY(w.Load(QStringLiteral("SHOW")));
        QVERIFY(w.isVisible());
        auto *closeImg = child<VbImage>(&w, "imgCtrl0");
        auto *pressed = child<VbImage>(&w, "lblCtrl0");
        QTest::mousePress(closeImg, Qt::LeftButton);
        QVERIFY(pressed->isVisible());
        m_shell.answer = false;
        QTest::mouseRelease(closeImg, Qt::LeftButton);
        QVERIFY(!pressed->isVisible());
        QCOMPARE(m_shell.asks, 1);
        QCOMPARE(m_shell.title, QStringLiteral("关闭下载管理器"));
        QCOMPARE(m_shell.text, QStringLiteral("关闭下载管理器会导致所有正在下载的任务停止\n是否继续？"));
        QVERIFY(w.isVisible());
        QVERIFY(!w.closing());
    }

    // The desktop's questions are the programs' message boxes (Chinese
    // buttons): Yes/No with the question icon.
    void questionsAreTheProgramsMessageBoxes()
    {
        DwnShell::setInstance(nullptr);
        FakeMessageBoxes boxes;
        boxes.queueAnswer(MsgAnswer::No);
        boxes.queueAnswer(MsgAnswer::Yes);
        const bool first = DwnShell::instance()->askYesNo(nullptr, QStringLiteral("清空"), QStringLiteral("确定要清空下载列表吗？"));
        const bool second = DwnShell::instance()->askYesNo(nullptr, QStringLiteral("t"), QStringLiteral("x"));
        DwnShell::setInstance(&m_shell);
        QVERIFY(!first);
        QVERIFY(second);
        QCOMPARE(boxes.asked().size(), 2);
        QCOMPARE(boxes.asked().at(0).title, QStringLiteral("清空"));
        QCOMPARE(boxes.asked().at(0).text, QStringLiteral("确定要清空下载列表吗？"));
        QCOMPARE(boxes.asked().at(0).buttons, MsgButtons::YesNo);
        QCOMPARE(boxes.asked().at(0).icon, MsgIcon::Question);
    }

    // A request that arrives while the clear question is open waits for the
    // answer; Yes removes every row, and the request then gets its own row.
    void clearAnsweredWhileARequestArrives()
    {
        frmMain w;
        QVERIFY(w.Load(QStringLiteral("show")));
        const QString a = m_dir.filePath(QStringLiteral("a")), c = m_dir.filePath(QStringLiteral("c"));
        int rowsDuring = -1;
        bool cleared = false;
        m_shell.during = [&] {
            w.HandleRequest(m_server.url(QStringLiteral("/bytes/3000")) + QStringLiteral("@@") + c);
            rowsDuring = w.list()->rows().count();
        };
        bool returned = false;
        QTimer::singleShot(0, &w, [&] {
            w.HandleRequest(m_server.url(QStringLiteral("/slow/100000/5")) + QStringLiteral("@@") + a);
            returned = true;
        });
        when(&w, [&] { return w.list()->rows().exists(1) && hasPercent(w.list()->rows().at(1)); }, [&] {
            QTest::mouseClick(child<VbImage>(w.list(), "lblClear"), Qt::LeftButton);
            cleared = w.list()->rows().count() == 1;
        });
        QTRY_VERIFY_WITH_TIMEOUT(returned, 20000);
        QCOMPARE(m_shell.asks, 1);
        QCOMPARE(rowsDuring, 2);
        QVERIFY(cleared);
        QTRY_COMPARE_WITH_TIMEOUT(readAll(c), TestServer::pattern(3000), 10000);
        QCOMPARE(w.list()->rows().count(), 2);
        QVERIFY(w.list()->rows().at(1)->isFinished());
        QVERIFY(!QFile::exists(a));
    }

    // Requests handed over together each start at once, the later ones inside
    // the transfers of the earlier ones, up to the nesting limit; never more
    // than the engine's limit run at the same time; all of them complete.
    void requestsArrivingTogether()
    {
        frmMain w;
        QVERIFY(w.Load(QStringLiteral("show")));
        constexpr int n = frmMain::kMaxNestedRequests + 16;
        for (int i = 0; i < n; ++i)
            w.QueueRequest(m_server.url(QStringLiteral("/slow/2000/300?%1").arg(i)) + QStringLiteral("@@")
                           + m_dir.filePath(QStringLiteral("g%1").arg(i)));
        int maxRunning = 0, maxWaiting = 0, maxDepth = 0;
        int notStartedAtFirstFile = -1;
        bool sawFirstFile = false;
        auto *watch = new QTimer(&w);
        watch->setInterval(2);
        connect(watch, &QTimer::timeout, &w, [&] {
            maxRunning = qMax(maxRunning, TransferEngine::instance()->runningCount());
            maxWaiting = qMax(maxWaiting, TransferEngine::instance()->waitingCount());
            maxDepth = qMax(maxDepth, w.requestDepth());
            if (!sawFirstFile && !entriesOf(m_dir.path()).filter(QRegularExpression(QStringLiteral("^g"))).isEmpty()) {
                sawFirstFile = true;
                // Every row taken so far has begun its transfer (the newest
                // may not have heard of it yet).
                notStartedAtFirstFile = 0;
                w.list()->rows().forEach([&](int, ucDownload *row) {
                    notStartedAtFirstFile += progText(row) == QStringLiteral("已下载 *%");
                });
            }
        });
        watch->start();
        QTRY_COMPARE_WITH_TIMEOUT(entriesOf(m_dir.path()).size(), n, 30000);
        watch->stop();
        QVERIFY2(notStartedAtFirstFile >= 0 && notStartedAtFirstFile <= 1, qPrintable(QString::number(notStartedAtFirstFile)));
        QCOMPARE(maxRunning, TransferEngine::kMaxRunning);
        QVERIFY(maxWaiting > 0);
        QCOMPARE(maxDepth, frmMain::kMaxNestedRequests);
        for (int i = 0; i < n; ++i)
            QCOMPARE(readAll(m_dir.filePath(QStringLiteral("g%1").arg(i))), TestServer::pattern(2000));
        QTRY_COMPARE(TransferEngine::instance()->runningCount(), 0);
    }

    void requestsOverTheChannel()
    {
        frmMain w;
        QVERIFY(w.Load(QStringLiteral("show")));
        w.HandleRequest(QStringLiteral("Show"));
        w.HandleRequest(QStringLiteral("no separator"));
        QCOMPARE(w.list()->rows().count(), 1);
        const QString target = m_dir.filePath(QStringLiteral("q.bin"));
        w.HandleRequest(m_server.url(QStringLiteral("/bytes/1234")) + QStringLiteral("@@") + target);
        QCOMPARE(w.list()->rows().count(), 2);
        QVERIFY(w.list()->rows().at(1)->isFinished());
        QCOMPARE(readAll(target), TestServer::pattern(1234));
        frmMain first;
        QVERIFY(!first.Load(QStringLiteral("neither")));
    }

    // Yes to the close question ends every transfer, also one whose request
    // arrived while the question was open.
    void closeAnsweredWhileARequestArrives()
    {
        frmMain w;
        const QString a = m_dir.filePath(QStringLiteral("a")), b = m_dir.filePath(QStringLiteral("b"));
        QVERIFY(w.Load(m_server.url(QStringLiteral("/slow/100000/5")) + QStringLiteral("@@") + a));
        int rowsDuring = -1;
        m_shell.during = [&] {
            w.HandleRequest(m_server.url(QStringLiteral("/slow/20000/2")) + QStringLiteral("@@") + b);
            rowsDuring = w.list()->rows().count();
        };
        bool closedAtOnce = false;
        when(&w, [&] { return w.list()->rows().exists(1) && hasPercent(w.list()->rows().at(1)); }, [&] {
            w.close();
            closedAtOnce = w.closing() && !w.isVisible();
        });
        QTRY_VERIFY_WITH_TIMEOUT(w.closing(), 20000);
        QVERIFY(closedAtOnce);
        QCOMPARE(rowsDuring, 2);
        QTRY_VERIFY(!w.list()->rows().at(1)->inTransferCall());
        // Nothing runs or waits any more: the request that came during the
        // question will not start later.
        QTRY_COMPARE(TransferEngine::instance()->runningCount(), 0);
        QCOMPARE(TransferEngine::instance()->waitingCount(), 0);
        QCOMPARE(w.list()->rows().count(), 2);
        QVERIFY(!QFile::exists(b));
        QVERIFY(entriesOf(m_dir.path()).isEmpty());
        // The application was told to quit: let it, so that later event loops run.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

    // Last: a confirmed close quits the application.
    void confirmedCloseStopsEverything()
    {
        frmMain w;
        const QString target = m_dir.filePath(QStringLiteral("c.bin"));
        QVERIFY(w.Load(m_server.url(QStringLiteral("/slow/100000/5")) + QStringLiteral("@@") + target));
        bool answeredNo = false;
        when(&w, [&] { return w.list()->rows().exists(1) && hasPercent(w.list()->rows().at(1)); }, [&] {
            m_shell.answer = false;
            w.close();
            answeredNo = w.isVisible() && w.list()->rows().at(1)->inTransferCall();
            m_shell.answer = true;
            w.close();
        });
        QTRY_VERIFY_WITH_TIMEOUT(w.closing(), 20000);
        QVERIFY(answeredNo);
        QTRY_VERIFY(!w.list()->rows().at(1)->inTransferCall());
        QVERIFY(!w.isVisible());
        QVERIFY(entriesOf(m_dir.path()).isEmpty());
    }
};

QTEST_MAIN(WidgetTest)
#include "WidgetTest.moc"
