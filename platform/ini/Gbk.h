#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Every stored text file is 8-bit text in code page 936 (GBK). Invalid byte
// sequences decode to U+FFFD; characters GBK cannot hold encode as "?".
namespace Gbk {
QString decode(const QByteArray &bytes);
// Appends the decoded bytes to out, without a copy in between.
void appendDecoded(QString &out, QByteArrayView bytes);
QByteArray encode(const QString &text);
// Length in bytes of the longest prefix of at most maxBytes that does not end
// inside a double-byte character.
qsizetype safeCut(const QByteArray &bytes, qsizetype maxBytes);
} // namespace Gbk
