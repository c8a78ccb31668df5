#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Pictures read from files that anyone may have edited or cut short.

// Whether bytes hold a Windows bitmap whose header and pixel rows are all
// present. Bytes that are no bitmap at all return false too.
bool IsWholeBitmap(const QByteArray &bytes);

// The picture in the file at localPath, or a null image when the file is
// missing, empty, not a picture, or a bitmap cut short (which the decoder
// would otherwise fill with black).
QImage ReadWholePicture(const QString &localPath);
