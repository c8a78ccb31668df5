// Feeds a running Dunmora with download requests one after another, as later
// starts hand them over, or only watches a folder while another client (curl)
// downloads into it. Either way it prints, for every file that becomes
// complete in the folder, "<name> <CLOCK_MONOTONIC ns>": a file is complete
// when it is renamed into place or closed after writing under its own name.
//
//   dwn_bench_feed feed SERVICE URL DIR COUNT
//       sends "URL?f=<i>@@DIR/f<i>" for i = 0 .. COUNT-1, each once the file
//       before it is complete
//   dwn_bench_feed watch DIR COUNT
//       prints "READY" once it watches, then waits for COUNT files f<i>
#include "InstanceChannel.h"

#include <QCoreApplication>

#include <sys/inotify.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

long long monoNs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// Waits for inotify events on fd until want (or any f<i> when want is empty)
// is complete; prints every completed final name once. False on time-out.
bool waitFor(int fd, const std::string &want, std::set<std::string> &done, int timeoutMs)
{
    alignas(inotify_event) char buf[1 << 16];
    for (;;) {
        if (!want.empty() && done.count(want))
            return true;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0)
            return false;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            return false;
        const long long now = monoNs();
        for (char *ptr = buf; ptr < buf + n;) {
            auto *e = reinterpret_cast<inotify_event *>(ptr);
            ptr += sizeof(inotify_event) + e->len;
            if (!e->len || e->name[0] != 'f')
                continue;
            const std::string name = e->name;
            if (!done.insert(name).second)
                continue;
            std::printf("%s %lld\n", name.c_str(), now);
            std::fflush(stdout);
        }
        if (want.empty())
            return true;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool feed = mode == "feed" && argc == 6;
    if (!feed && !(mode == "watch" && argc == 4)) {
        std::fprintf(stderr, "usage: dwn_bench_feed feed SERVICE URL DIR COUNT | watch DIR COUNT\n");
        return 2;
    }
    const char *dir = feed ? argv[4] : argv[2];
    const int count = std::atoi(feed ? argv[5] : argv[3]);
    const int fd = ::inotify_init1(IN_CLOEXEC);
    if (fd < 0 || ::inotify_add_watch(fd, dir, IN_MOVED_TO | IN_CLOSE_WRITE) < 0) {
        std::perror("inotify");
        return 1;
    }
    std::set<std::string> done;
    if (!feed) {
        std::printf("READY\n");
        std::fflush(stdout);
        while (int(done.size()) < count) {
            if (!waitFor(fd, std::string(), done, 120000))
                return 1;
        }
        return 0;
    }
    const QString service = QString::fromLocal8Bit(argv[2]);
    const QString url = QString::fromLocal8Bit(argv[3]);
    for (int i = 0; i < count; ++i) {
        const std::string name = "f" + std::to_string(i);
        const QString request = url + QStringLiteral("?f=%1@@").arg(i) + QString::fromLocal8Bit(dir)
            + QLatin1Char('/') + QString::fromStdString(name);
        if (!InstanceChannel::send(service, request, 10000)) {
            std::fprintf(stderr, "request %d not taken\n", i);
            return 1;
        }
        if (!waitFor(fd, name, done, 120000)) {
            std::fprintf(stderr, "%s never completed\n", name.c_str());
            return 1;
        }
    }
    return 0;
}
