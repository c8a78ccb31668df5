// A started program that reports what it inherited, for the process tests.
//   fd_probe <record-file> [hold-seconds]
// Writes <record-file> (through a rename, so a reader never sees half) with
// the lines
//   pid <its process id>
//   fds <every open descriptor, ascending>
//   std <where descriptors 0, 1 and 2 lead>
//   sigblk <blocked signals, hex as /proc shows them>
//   sigign <ignored signals, hex>
// then sleeps hold-seconds (default: the environment's FD_PROBE_HOLD, else 0)
// and ends. Started in place of Dunmora it takes Dunmora's argument as the
// record file and holds through FD_PROBE_HOLD, which it inherits.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {
std::string statusField(const std::string &name)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(name + ":", 0) == 0) {
            std::string v = line.substr(name.size() + 1);
            v.erase(0, v.find_first_not_of(" \t"));
            return v;
        }
    }
    return "?";
}

std::string target(int fd)
{
    char buf[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf - 1);
    return n < 0 ? std::string("-") : std::string(buf, size_t(n));
}
} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return 2;
    // Taken before anything of our own is opened.
    std::vector<int> fds;
    if (DIR *d = ::opendir("/proc/self/fd")) {
        const int own = ::dirfd(d);
        while (dirent *e = ::readdir(d)) {
            if (e->d_name[0] == '.')
                continue;
            const int fd = std::atoi(e->d_name);
            if (fd != own)
                fds.push_back(fd);
        }
        ::closedir(d);
    }
    std::sort(fds.begin(), fds.end());
    std::ostringstream out;
    out << "pid " << ::getpid() << "\n";
    out << "fds";
    for (const int fd : fds)
        out << ' ' << fd;
    out << "\n";
    out << "std " << target(0) << ' ' << target(1) << ' ' << target(2) << "\n";
    out << "sigblk " << statusField("SigBlk") << "\n";
    out << "sigign " << statusField("SigIgn") << "\n";

    const std::string record = argv[1];
    const std::string part = record + ".part";
    {
        std::ofstream f(part, std::ios::binary | std::ios::trunc);
        f << out.str();
    }
    std::rename(part.c_str(), record.c_str());
    const char *hold = argc > 2 ? argv[2] : std::getenv("FD_PROBE_HOLD");
    if (hold)
        ::sleep(unsigned(std::atoi(hold)));
    return 0;
}
