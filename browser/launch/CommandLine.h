#pragma once

#include <QString>

// What a start of the browser decides before it loads the browser itself:
// the command-line forms and whether the start only hands its request to the
// running instance. Needs Qt Core only, so that a later start stays small.

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
// any application object exists.
bool IsLaterStart(const QString &service);
