// Measures what one keystroke in the address box costs: the suggestion list's
// fill (history search, app search, rows rebuilt) against an input history of
// 10,000 entries and 50 installed apps, next to the time of only reading the
// history file, which every fill must do at least once. The two searches are
// also timed alone, as the list asks them (its first nine history entries),
// beside the whole searches GetInputHis and FindApps.
//
// Usage: addressbar_bench [entries] [apps] [keystrokes]

#include "Apps.h"
#include "Files.h"
#include "Gbk.h"
#include "ProgramFolder.h"
#include "ucListBox.h"
#include "ucListBoxFill.h"
#include "ucListBoxSource.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QString MakeHistory(const QString &root, int entries)
{
    static const char *const hosts[] = {"www.baidu.com", "news.sina.com.cn", "www.qq.com", "tieba.baidu.com",
                                        "www.zhihu.com", "github.com", "www.bilibili.com", "mail.163.com",
                                        "www.taobao.com", "www.jd.com", "127.0.0.1:8080", "docs.qt.io"};
    static const char *const words[] = {"news", "search", "video", "item", "question", "forum", "page",
                                        "天气", "新闻", "视频", "help", "download"};
    QRandomGenerator rng(42);
    QString text;
    for (int i = 0; i < entries; ++i) {
        const QString host = QString::fromLatin1(hosts[rng.bounded(int(std::size(hosts)))]);
        const QString word = QString::fromUtf8(words[rng.bounded(int(std::size(words)))]);
        text += QStringLiteral("http://%1/%2/%3?id=%4@@").arg(host, word).arg(rng.bounded(100000)).arg(i);
    }
    text += QStringLiteral("\r\n");
    WriteFile(root + QStringLiteral("/Data/InputHis.ini"), Gbk::encode(text));
    return text;
}

void MakeApps(const QString &root, int apps)
{
    QString reg = QStringLiteral("[Apps]\r\nCount=%1\r\n").arg(apps);
    for (int i = 1; i <= apps; ++i) {
        const QString name = QStringLiteral("App%1").arg(i);
        reg += QStringLiteral("app%1=%2\\%2.ini\r\n").arg(i).arg(name);
        WriteFile(root + QStringLiteral("/Apps/%1/%1.ini").arg(name),
                  Gbk::encode(QStringLiteral("[App]\r\nName=%1 助手\r\nType=javascript\r\nScript=Apps\\%1\\main.js\r\n"
                                             "UseExtent=0\r\nAllowedExt=0\r\nHasUI=0\r\nOnLoad=0\r\nAbout=bench\r\n")
                                  .arg(name)));
    }
    WriteFile(root + QStringLiteral("/Apps/Apps.ini"), Gbk::encode(reg));
}

// The texts a user types, one keystroke at a time.
QStringList Keystrokes(int count)
{
    static const char *const typed[] = {"http://www.zhihu.com/question", "github.com/qt", "天气预报", "baidu news",
                                        "127.0.0.1:8080/forum", "docs.qt.io/qt-6/qwidget.html", "mail.163",
                                        "bilibili video"};
    QStringList out;
    while (out.size() < count) {
        for (const char *t : typed) {
            const QString s = QString::fromUtf8(t);
            for (int i = 1; i <= s.size() && out.size() < count; ++i)
                out << s.left(i);
        }
    }
    return out;
}

struct Stats
{
    double median = 0, p95 = 0, worst = 0, mean = 0;
};

Stats Summarise(std::vector<double> ms)
{
    Stats s;
    if (ms.empty())
        return s;
    std::sort(ms.begin(), ms.end());
    s.median = ms[ms.size() / 2];
    s.p95 = ms[std::min(ms.size() - 1, ms.size() * 95 / 100)];
    s.worst = ms.back();
    double sum = 0;
    for (double v : ms)
        sum += v;
    s.mean = sum / double(ms.size());
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int entries = argc > 1 ? atoi(argv[1]) : 10000;
    const int apps = argc > 2 ? atoi(argv[2]) : 50;
    const int strokes = argc > 3 ? atoi(argv[3]) : 200;

    QTemporaryDir dir;
    MakeHistory(dir.path(), entries);
    MakeApps(dir.path(), apps);
    setProgramFolderOverride(dir.path());

    ucListBox list;
    list.setGeometry(0, 0, 500, 200);
    list.show();
    QApplication::processEvents();

    const QStringList keys = Keystrokes(strokes);
    std::vector<double> fill, floor, his, appsMs, listHis, listApps;
    ucListBoxSource source;
    QElapsedTimer t;
    // one warm-up pass so that the file cache and fonts are as in a running browser
    list.EnterTxt(keys.first());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    for (const QString &k : keys) {
        t.start();
        list.EnterTxt(k);
        // the rows of the previous text are deleted before the next event
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fill.push_back(t.nsecsElapsed() / 1e6);

        t.start();
        const QString whole = ReadTxt(InputHisPath());
        floor.push_back(t.nsecsElapsed() / 1e6);
        Q_UNUSED(whole);

        t.start();
        const QString h = GetInputHis(k);
        his.push_back(t.nsecsElapsed() / 1e6);
        Q_UNUSED(h);

        t.start();
        const QString a = FindApps(k);
        appsMs.push_back(t.nsecsElapsed() / 1e6);
        Q_UNUSED(a);

        t.start();
        const QString lh = source.InputHis(k, ucListBoxFill::kMaxHisRows);
        listHis.push_back(t.nsecsElapsed() / 1e6);
        Q_UNUSED(lh);

        t.start();
        const QString la = source.Apps(k);
        listApps.push_back(t.nsecsElapsed() / 1e6);
        Q_UNUSED(la);
    }

    const auto worstAt = std::max_element(fill.begin(), fill.end()) - fill.begin();
    const Stats f = Summarise(fill), r = Summarise(floor), hs = Summarise(his), as = Summarise(appsMs),
                lhs = Summarise(listHis), las = Summarise(listApps);
    std::printf("address bar keystroke: %d history entries (%lld bytes), %d apps, %d keystrokes\n", entries,
                QFileInfo(dir.path() + QStringLiteral("/Data/InputHis.ini")).size(), apps, int(keys.size()));
    std::printf("%-28s %10s %10s %10s %10s\n", "", "median ms", "p95 ms", "worst ms", "mean ms");
    const auto row = [](const char *name, const Stats &x) {
        std::printf("%-28s %10.3f %10.3f %10.3f %10.3f\n", name, x.median, x.p95, x.worst, x.mean);
    };
    row("list fill (EnterTxt)", f);
    row("  its history search", lhs);
    row("  its app search", las);
    row("whole GetInputHis", hs);
    row("whole FindApps", as);
    row("floor: read history file", r);
    std::printf("slowest keystroke: \"%s\"\n", keys.at(worstAt).toUtf8().constData());
    std::printf("ratio fill/floor: median %.2f, worst %.2f; frame budget 16 ms: %s\n",
                r.median > 0 ? f.median / r.median : 0.0, r.worst > 0 ? f.worst / r.worst : 0.0,
                f.worst < 16.0 ? "kept" : "EXCEEDED");
    setProgramFolderOverride(QString());
    return 0;
}
