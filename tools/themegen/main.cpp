#include "NavArt.h"
#include "ResourceArt.h"
#include "ThemeArt.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

// Draws the shipped pictures into the source tree given as the one argument:
//   package/Themes/Default.ini and package/Themes/Default/
//   package/Data/OrvNav.ini and package/Data/NavPic/
//   browser/resources/*.png and browser/resources/resources.qrc
int main(int argc, char **argv)
{
    // Text needs a font database; no window is shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: themegen <source tree>\n");
        return 2;
    }
    const QString root = QDir(args.at(1)).absolutePath();
    if (!QDir(root + QStringLiteral("/package")).exists()) {
        std::fprintf(stderr, "themegen: %s has no folder package/\n", qPrintable(root));
        return 2;
    }
    bool ok = ThemeArt::writeTheme(root + QStringLiteral("/package/Themes"), QStringLiteral("Default"));
    ok = NavArt::writeNavigation(root + QStringLiteral("/package/Data")) && ok;
    QStringList resources;
    ok = ResourceArt::writeResources(root + QStringLiteral("/browser/resources"), &resources) && ok;
    return ok ? 0 : 1;
}
