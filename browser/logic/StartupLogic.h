#pragma once

#include "CommandLine.h"

#include <QString>

#include <optional>

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
