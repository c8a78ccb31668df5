// The browser itself. The program loads it once it knows that it is the first
// instance (main.cpp), so that a later start never loads the web engine.
#include "BrowserMain.h"

#include "PageDialog.h"
#include "PageDialogCloseWatch.h"
#include "TerminationSignal.h"
#include "frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QStringList>
#include <QTranslator>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>

using tessivane::frmMain;

namespace {
// After SIGTERM the program has this long to wind down before it ends anyway.
constexpr auto kTermGrace = std::chrono::seconds(4);
} // namespace

int TessivaneRun(int argc, char **argv)
{
    // The web engine lists its graphics set-up and start parameters at every
    // start; a normal start stays quiet on the terminal. Its warnings still
    // show, and QT_LOGGING_RULES can bring the list back.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    // Pages and the tab thumbnails share one GL context.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessivane"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt's own dialogs (saving a page, printing, questions they ask) speak
    // Chinese like the rest of the browser.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // SIGTERM ends the program even while a page holds a dialog up: the page
    // dialogs are cancelled and every event loop, nested ones too, ends.
    TerminationSignal::install([] {
        std::thread([] {
            std::this_thread::sleep_for(kTermGrace);
            std::_Exit(128 + SIGTERM);
        }).detach();
        PageDialog::holdAll();
        QCoreApplication::exit(128 + SIGTERM);
    });
    // Closing the window works while a page dialog is up.
    PageDialogCloseWatch::install();

    // The command line as one text, as the browser's command forms expect it.
    QStringList args = QApplication::arguments();
    args.removeFirst();
    const QString commandLine = args.join(QLatin1Char(' '));

    frmMain w;
    int exitCode = 0;
    if (!w.Form_Load(commandLine, &exitCode))
        return exitCode;
    return QApplication::exec();
}
