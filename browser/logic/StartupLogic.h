#pragma once

#include <QString>

#include <optional>

// What the browser's command line (and a forwarded request) asks for. The
// extension tests look at the unchanged text and are case-sensitive, so a
// path in double quotes ends in a quote and counts as an address.
enum class CommandKind { Empty, Bookmark, Package, Address };
CommandKind ClassifyCommandLine(const QString &commandLine);

// An argument without its double quotes and without the text "%1", which
// the registered shell command leaves around it.
QString StripArgument(const QString &text);

// The request a later start sends to the running browser: "OpenNew" for an
// empty command line, "DDEOpen" followed by the bookmark's text for a ".vkt"
// file, else "DDEOpen" followed by the stripped argument. A relative path
// that names an existing file is made absolute first, since the running
// browser resolves paths against its own working folder.
QString ForwardedCommand(const QString &commandLine);

// The name under which the running browser takes the requests of later starts.
QString BrowserService();

// Whether this start only hands its request to a running instance: the
// settings file is there (a start without it ends with its own message
// first) and another instance holds the single-instance lock. Asks before
// any application object exists, so that a later start builds no window and
// starts no web engine.
bool IsLaterStart(const QString &service);

// The setting Zoom as a whole percentage; a value that is no number counts as 100.
int ZoomSetting();

// The form in which the address of the last page is stored: the address's
// encoded form (percent escapes, an international host in its ASCII form), so
// that every page reopens exactly although the settings file is GBK text.
// Text that is no address is stored as it is.
QString StoredPageAddress(const QString &address);

// The address a start page shows, from the setting OnOpen: "0" HomePage, "1"
// the navigation page "about:nav", "2" LastPage; no address (a blank tab) for
// any other value.
std::optional<QString> StartPageAddress();

// Whether a page's address is the start page's (the same address, however
// it is written: a trailing "/" or an escaped character makes no difference).
bool IsStartPageAddress(const QString &address);
