#include "frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>

using tessivane::frmMain;

int main(int argc, char **argv)
{
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
