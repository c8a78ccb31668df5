#pragma once

#include <QByteArray>
#include <QString>

// Registration as the desktop's default browser (freedesktop.org way): a
// desktop entry "tessivane.desktop" in $XDG_DATA_HOME/applications and the
// defaults for http, https and HTML in $XDG_CONFIG_HOME/mimeapps.list. Unset
// or relative XDG variables mean $HOME/.local/share and $HOME/.config.
// These are the user's folders; they are created when missing.
class DefaultBrowser
{
public:
    static QString desktopId(); // "tessivane.desktop"

    // Whether the default handler of http links is our desktop entry, as the
    // user's lists say: "<desktop>-mimeapps.list" for each desktop of
    // $XDG_CURRENT_DESKTOP first, then mimeapps.list.
    static bool httpHandlerIsUs();

    // Writes the desktop entry (Exec = the quoted program path and %u) and
    // makes it the default for x-scheme-handler/http, x-scheme-handler/https
    // and text/html; every other line of mimeapps.list stays byte for byte.
    // Files are written through a temporary file and a rename. False when a
    // file cannot be written or the path cannot be expressed (a line break).
    static bool registerUs(const QString &programPath);

    static QString dataHome();
    static QString configHome();
    static QString desktopFilePath();
    static QString mimeAppsPath();

    // The desktop entry's text for the program; empty when the path holds a
    // line break or a NUL.
    static QByteArray desktopEntry(const QString &programPath);
    // The program path as one argument of an Exec line: in double quotes,
    // with ", `, $ and \ escaped, % doubled, and the string's own escape of \.
    static QString execArgument(const QString &programPath);
};
