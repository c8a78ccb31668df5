// Drives Dunmora's transfer object the way a row does, with a window shown and
// a 10 ms timer standing in for the user: prints the time the transfers took
// and how late the timer came while they ran.
//
//   dwn_bench_driver URL TARGET_DIR COUNT
// downloads URL COUNT times one after another into TARGET_DIR/f<i>, and
// prints "seconds=<s> bytes=<n> max_gap_ms=<g> p99_gap_ms=<g99>".
#include "CFileDownload.h"
#include "UrlDownload.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: dwn_bench_driver URL TARGET_DIR COUNT\n");
        return 2;
    }
    const QString url = QString::fromLocal8Bit(argv[1]);
    const QDir dir(QString::fromLocal8Bit(argv[2]));
    const int count = std::max(1, std::atoi(argv[3]));

    QLabel window(QStringLiteral("Dunmora bench"));
    window.show();

    std::vector<qint64> gaps;
    QElapsedTimer clock;
    QElapsedTimer beat;
    // DWN_BENCH_TRACE=1 names every late tick on stderr.
    const bool trace = qEnvironmentVariableIsSet("DWN_BENCH_TRACE");
    QTimer tick;
    tick.setInterval(10);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (beat.isValid())
            gaps.push_back(beat.elapsed());
        if (trace && beat.elapsed() > 30)
            std::fprintf(stderr, "gap %lld ms at %lld ms\n", static_cast<long long>(beat.elapsed()),
                         static_cast<long long>(clock.elapsed()));
        beat.restart();
    });

    // As Dunmora does at start-up, before its window appears.
    QElapsedTimer prepare;
    prepare.start();
    PrepareUrlDownloads();
    const qint64 prepareMs = prepare.elapsed();

    CFileDownload d;
    qint64 bytes = 0;
    bool ok = true;
    QTimer::singleShot(0, [&] {
        tick.start();
        beat.start();
        clock.start();
        for (int i = 0; i < count && ok; ++i) {
            const QString target = dir.filePath(QStringLiteral("f%1").arg(i));
            ok = d.StartDownloading(url, target);
            bytes += QFileInfo(target).size();
        }
        const double seconds = clock.nsecsElapsed() / 1e9;
        tick.stop();
        std::sort(gaps.begin(), gaps.end());
        const qint64 maxGap = gaps.empty() ? 0 : gaps.back();
        const qint64 p99 = gaps.empty() ? 0 : gaps[std::min(gaps.size() - 1, gaps.size() * 99 / 100)];
        std::printf("seconds=%.4f bytes=%lld max_gap_ms=%lld p99_gap_ms=%lld ok=%d prepare_ms=%lld\n", seconds,
                    static_cast<long long>(bytes), static_cast<long long>(maxGap), static_cast<long long>(p99),
                    ok ? 1 : 0, static_cast<long long>(prepareMs));
        std::fflush(stdout);
        QCoreApplication::exit(ok ? 0 : 1);
    });
    return app.exec();
}
