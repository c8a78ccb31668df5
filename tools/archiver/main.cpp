#include "ProgramFolder.h"
#include "Unpack.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

// The archive tool that unpacks app packages: "rar x <package> <folder>"
// extracts the package with its stored folder names into the folder. Paths
// may be written with "\" as the browser stores them. An existing file is
// replaced by renaming the new one over it, never written through a link;
// nothing is written outside the folder. The exit status is 0 only when every
// entry was unpacked: a refused entry (unsafe name, link, device, fifo), a
// damaged or cut archive and a reached limit all give 1.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 3 || args.at(0).compare(QLatin1String("x"), Qt::CaseInsensitive) != 0) {
        std::fprintf(stderr, "usage: rar x <package> <folder>\n");
        return 2;
    }
    const UnpackResult r = UnpackArchive(toLocalPath(args.at(1)), toLocalPath(args.at(2)));
    if (!r.opened) {
        std::fprintf(stderr, "rar: cannot read %s: %s\n", qPrintable(args.at(1)), qPrintable(r.error));
        return 1;
    }
    if (r.skipped)
        std::fprintf(stderr, "rar: %d unsafe or unwritable entries skipped\n", r.skipped);
    if (r.truncated)
        std::fprintf(stderr, "rar: size or entry limit reached, unpacking stopped\n");
    if (!r.error.isEmpty())
        std::fprintf(stderr, "rar: %s\n", qPrintable(r.error));
    return (r.skipped || r.truncated || !r.error.isEmpty()) ? 1 : 0;
}
