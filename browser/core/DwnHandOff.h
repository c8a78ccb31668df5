#pragma once

#include <QString>

// Dunmora, the download manager beside the browser, as the browser and its
// apps start it.

// Program folder + "Dunmora".
QString DunmoraPath();
// Whether Dunmora is there; without it nothing is started.
bool DunmoraExists();

// Starts Dunmora with "Show". False when it is missing or cannot be started.
bool ShowDunmora();

// Hands one download to Dunmora: the request is the address, "@@" and the
// target path (DownloadRequest.h), so that Dunmora reads back exactly this
// path and this address. A request too long for one program argument goes
// over Dunmora's instance channel instead, after a start with "Show".
// False when Dunmora is missing, cannot be reached, or the request cannot be
// carried at all (a path with a NUL character, more than the channel takes).
bool HandDownloadToDunmora(const QString &url, const QString &path);

// The longest request, in bytes of UTF-8, that one program argument carries.
constexpr int kMaxDwnArgumentBytes = 128 * 1024 - 1;
