// Tessivane: a later start hands its request to the running instance and
// ends; it needs neither the display nor the web engine, and never loads
// them. The first instance loads the browser and runs it.
#include "CommandLine.h"
#include "DDESend.h"
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QLibrary>
#include <QStringList>

#include <cstdio>

namespace {
// The browser's code, in the program folder beside the program.
const char kBrowserLibrary[] = "libtessivane.so";
} // namespace

int main(int argc, char **argv)
{
    if (IsLaterStart(BrowserService())) {
        QCoreApplication core(argc, argv);
        QStringList args = QCoreApplication::arguments();
        args.removeFirst();
        DDESend(BrowserService(), ForwardedCommand(args.join(QLatin1Char(' '))));
        return 0;
    }

    QLibrary browser(programFolder() + QLatin1String(kBrowserLibrary));
    using Run = int (*)(int, char **);
    const auto run = reinterpret_cast<Run>(browser.resolve("TessivaneRun"));
    if (!run) {
        std::fprintf(stderr, "Tessivane: %s\n", qPrintable(browser.errorString()));
        return 1;
    }
    return run(argc, argv);
}
