#pragma once

#include <QString>

// A download request as the browser and its apps hand it to Dunmora: the
// address, "@@" and the full target path, in one text.
//
// The first "@@" of the text is the separator, and everything after it is
// the path, so a path may hold "@@" itself. The address therefore never holds
// "@@" and never ends in "@": the sender writes every "@" of a run of two or
// more, and a last "@", as "%40", which names the same address for every
// server. Control characters (line breaks, tabs), which no address carries
// literally, are percent-encoded as well. Well-formed addresses pass
// unchanged, and the reader never decodes anything.
QString JoinDownloadRequest(const QString &url, const QString &path);

// The address as JoinDownloadRequest writes it into the request.
QString EncodeDownloadAddress(const QString &url);

// Splits a request at its first "@@": false when it holds none.
bool SplitDownloadRequest(const QString &text, QString *url, QString *path);
