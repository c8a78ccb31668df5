#pragma once

#include <QString>

// The file name the browser proposes for a download: the text after the last
// "/" of the address (the whole address when it has none, "" when it ends
// with "/"), and of that the text after its first "?". The scan keeps the
// 16-bit counter of the original rule: an address longer than 32767
// characters, or one of exactly 32767 without any "/", gives "".
QString GetUrlFileName(const QString &Url);
