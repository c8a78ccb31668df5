// A loopback HTTP server for the transfer tests and the benchmark. It prints
// "PORT <n>" once it listens on 127.0.0.1 (on the port given as the first
// argument, 0 for any) and ends when its standard input closes, unless it is
// given "--no-stdin". With "--log FILE" it appends a line
// "<target> <CLOCK_MONOTONIC ns>" to FILE as each request's head has arrived.
// Bodies follow one pattern: byte i is i % 251; a query is ignored.
//
//   /bytes/N            N bytes with Content-Length
//   /chunked/N          N bytes, chunked, no length
//   /gzip/N             N bytes gzip-encoded, Content-Length of the encoded body
//   /status/C           status C
//   /redirect?to=X      302 to X
//   /slow/N/MS          N bytes with Content-Length, 1 KiB every MS milliseconds
//   /huge/L             Content-Length L, 4 MiB at once, then 1 KiB every 100 ms
//   /truncated/N        Content-Length N, half of it, then the connection closes
//   /hits/PATH          how many requests for /PATH came in so far
//   /headers            the request's head as the body
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <time.h>
#include <sys/socket.h>
#include <unistd.h>
#include <zlib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr size_t kPeriod = 251;
constexpr size_t kChunk = kPeriod * 4096;
std::vector<char> g_pattern;
std::mutex g_hitsMutex;
std::map<std::string, long> g_hits;
FILE *g_log = nullptr;

bool sendAll(int fd, const char *p, size_t n)
{
    while (n > 0) {
        const ssize_t w = ::send(fd, p, n, MSG_NOSIGNAL);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += w;
        n -= size_t(w);
    }
    return true;
}

bool sendStr(int fd, const std::string &s) { return sendAll(fd, s.data(), s.size()); }

// Sends bytes [pos, pos + n) of the pattern.
bool sendPattern(int fd, unsigned long long pos, unsigned long long n)
{
    while (n > 0) {
        const size_t off = size_t(pos % kPeriod);
        const size_t len = size_t(std::min<unsigned long long>(n, kChunk));
        if (!sendAll(fd, g_pattern.data() + off, len))
            return false;
        pos += len;
        n -= len;
    }
    return true;
}

std::string head(int code, const std::string &extra)
{
    const char *reason = code == 200 ? "OK" : code == 302 ? "Found" : code == 404 ? "Not Found" : "Status";
    return "HTTP/1.1 " + std::to_string(code) + " " + reason + "\r\nConnection: close\r\n" + extra + "\r\n";
}

std::vector<std::string> split(const std::string &s, char sep)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t p = s.find(sep, start);
        out.push_back(s.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos)
            return out;
        start = p + 1;
    }
}

unsigned long long num(const std::vector<std::string> &parts, size_t i, unsigned long long def = 0)
{
    return i < parts.size() && !parts[i].empty() ? std::strtoull(parts[i].c_str(), nullptr, 10) : def;
}

void serve(int fd)
{
    std::string req;
    char buf[4096];
    while (req.find("\r\n\r\n") == std::string::npos) {
        const ssize_t r = ::recv(fd, buf, sizeof buf, 0);
        if (r <= 0) {
            ::close(fd);
            return;
        }
        req.append(buf, size_t(r));
        if (req.size() > 65536)
            break;
    }
    if (g_log) {
        timespec ts{};
        ::clock_gettime(CLOCK_MONOTONIC, &ts);
        const size_t end = req.find(' ', req.find(' ') + 1);
        const std::string line = req.substr(req.find(' ') + 1, end - req.find(' ') - 1) + " "
            + std::to_string((long long)ts.tv_sec * 1000000000LL + ts.tv_nsec) + "\n";
        std::lock_guard<std::mutex> lock(g_hitsMutex);
        std::fputs(line.c_str(), g_log);
        std::fflush(g_log);
    }
    const size_t sp1 = req.find(' ');
    const size_t sp2 = req.find(' ', sp1 + 1);
    std::string target = sp1 == std::string::npos ? "/" : req.substr(sp1 + 1, sp2 - sp1 - 1);
    std::string query;
    if (const size_t q = target.find('?'); q != std::string::npos) {
        query = target.substr(q + 1);
        target = target.substr(0, q);
    }
    {
        std::lock_guard<std::mutex> lock(g_hitsMutex);
        ++g_hits[target];
    }
    const std::vector<std::string> parts = split(target.substr(1), '/');
    const std::string &route = parts[0];

    if (route == "bytes") {
        const auto n = num(parts, 1);
        if (sendStr(fd, head(200, "Content-Type: application/octet-stream\r\nContent-Length: " + std::to_string(n) + "\r\n")))
            sendPattern(fd, 0, n);
    } else if (route == "chunked") {
        const auto n = num(parts, 1);
        if (sendStr(fd, head(200, "Transfer-Encoding: chunked\r\n"))) {
            unsigned long long pos = 0;
            bool ok = true;
            while (ok && pos < n) {
                const auto len = std::min<unsigned long long>(n - pos, 7000);
                char size[32];
                std::snprintf(size, sizeof size, "%llx\r\n", len);
                ok = sendStr(fd, size) && sendPattern(fd, pos, len) && sendStr(fd, "\r\n");
                pos += len;
            }
            if (ok)
                sendStr(fd, "0\r\n\r\n");
        }
    } else if (route == "gzip") {
        const auto n = num(parts, 1);
        std::vector<char> plain(n);
        for (size_t i = 0; i < n; ++i)
            plain[i] = char(i % kPeriod);
        z_stream zs{};
        deflateInit2(&zs, Z_BEST_SPEED, Z_DEFLATED, 16 + 15, 8, Z_DEFAULT_STRATEGY);
        std::vector<char> packed(deflateBound(&zs, uLong(n)) + 64);
        zs.next_in = reinterpret_cast<Bytef *>(plain.data());
        zs.avail_in = uInt(n);
        zs.next_out = reinterpret_cast<Bytef *>(packed.data());
        zs.avail_out = uInt(packed.size());
        deflate(&zs, Z_FINISH);
        const size_t packedLen = zs.total_out;
        deflateEnd(&zs);
        if (sendStr(fd, head(200, "Content-Encoding: gzip\r\nContent-Length: " + std::to_string(packedLen) + "\r\n")))
            sendAll(fd, packed.data(), packedLen);
    } else if (route == "status") {
        const int code = int(num(parts, 1, 500));
        const std::string body = "status " + std::to_string(code) + "\n";
        if (sendStr(fd, head(code, "Content-Length: " + std::to_string(body.size()) + "\r\n")))
            sendStr(fd, body);
    } else if (route == "redirect") {
        std::string to = "/";
        if (query.rfind("to=", 0) == 0)
            to = query.substr(3);
        sendStr(fd, head(302, "Location: " + to + "\r\nContent-Length: 0\r\n"));
    } else if (route == "slow") {
        const auto n = num(parts, 1);
        const auto ms = num(parts, 2, 50);
        if (sendStr(fd, head(200, "Content-Length: " + std::to_string(n) + "\r\n"))) {
            for (unsigned long long pos = 0; pos < n; pos += 1024) {
                if (!sendPattern(fd, pos, std::min<unsigned long long>(1024, n - pos)))
                    break;
                std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            }
        }
    } else if (route == "huge") {
        const auto n = num(parts, 1);
        if (sendStr(fd, head(200, "Content-Length: " + std::to_string(n) + "\r\n"))) {
            unsigned long long pos = 4u << 20;
            bool ok = sendPattern(fd, 0, pos);
            const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (ok && pos < n && std::chrono::steady_clock::now() < until) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                ok = sendPattern(fd, pos, 1024);
                pos += 1024;
            }
        }
    } else if (route == "truncated") {
        const auto n = num(parts, 1);
        if (sendStr(fd, head(200, "Content-Length: " + std::to_string(n) + "\r\n")))
            sendPattern(fd, 0, n / 2);
    } else if (route == "hits") {
        long count = 0;
        {
            std::lock_guard<std::mutex> lock(g_hitsMutex);
            const std::string path = target.substr(5);
            count = g_hits.count(path) ? g_hits[path] : 0;
        }
        const std::string body = std::to_string(count);
        if (sendStr(fd, head(200, "Content-Length: " + std::to_string(body.size()) + "\r\n")))
            sendStr(fd, body);
    } else if (route == "headers") {
        const std::string body = req.substr(0, req.find("\r\n\r\n") + 4);
        if (sendStr(fd, head(200, "Content-Length: " + std::to_string(body.size()) + "\r\n")))
            sendStr(fd, body);
    } else {
        sendStr(fd, head(404, "Content-Length: 0\r\n"));
    }
    ::shutdown(fd, SHUT_WR);
    // Let the client read everything before the socket goes.
    while (::recv(fd, buf, sizeof buf, 0) > 0) {
    }
    ::close(fd);
}
} // namespace

int main(int argc, char **argv)
{
    ::signal(SIGPIPE, SIG_IGN);
    g_pattern.resize(kChunk + kPeriod);
    for (size_t i = 0; i < g_pattern.size(); ++i)
        g_pattern[i] = char(i % kPeriod);

    const int ls = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    ::setsockopt(ls, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(argc > 1 ? uint16_t(std::atoi(argv[1])) : 0);
    if (::bind(ls, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || ::listen(ls, 64) != 0) {
        std::perror("listen");
        return 1;
    }
    socklen_t len = sizeof addr;
    ::getsockname(ls, reinterpret_cast<sockaddr *>(&addr), &len);
    std::printf("PORT %d\n", ntohs(addr.sin_port));
    std::fflush(stdout);

    bool watchStdin = true;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-stdin") == 0)
            watchStdin = false;
        else if (std::strcmp(argv[i], "--log") == 0 && i + 1 < argc)
            g_log = std::fopen(argv[++i], "a");
    }
    if (watchStdin) std::thread([] {
        char c;
        while (::read(0, &c, 1) > 0) {
        }
        std::_Exit(0);
    }).detach();

    for (;;) {
        const int fd = ::accept(ls, nullptr, nullptr);
        if (fd < 0)
            continue;
        std::thread(serve, fd).detach();
    }
}
