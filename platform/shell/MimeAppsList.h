#pragma once

#include <QByteArray>

// The desktop's "mimeapps.list" as bytes: the default application of a MIME
// type lives in the group [Default Applications] as "type=id.desktop[;...]".
// Like the desktop's own reader, a later line of the same key wins and
// repeated groups are read as one.
namespace MimeAppsList {
// The first desktop id of the type's default entry; "" when there is none.
QByteArray defaultFor(const QByteArray &content, const QByteArray &mimeType);
// The content with the type's default set to desktopId: every line of the key
// in the group gets the new value, or the key is appended at the end of the
// first group (or a new group at the end of the file). Every other byte stays
// as it was; added lines use the file's own line breaks.
QByteArray withDefault(const QByteArray &content, const QByteArray &mimeType, const QByteArray &desktopId);
} // namespace MimeAppsList
