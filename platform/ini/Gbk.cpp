#include "Gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace Gbk {

QString decode(const QByteArray &bytes)
{
    // Bytes below 0x80 are ASCII in GBK: plain text (addresses, most ini
    // values) skips the converter.
    bool ascii = true;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    QStringDecoder dec("GBK", QStringDecoder::Flag::Stateless);
    if (!dec.isValid())
        return QString::fromLatin1(bytes);
    return dec.decode(bytes);
}

void appendDecoded(QString &out, QByteArrayView bytes)
{
    bool ascii = true;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) {
        out.append(QLatin1StringView(bytes.data(), bytes.size()));
        return;
    }
    QStringDecoder dec("GBK", QStringDecoder::Flag::Stateless);
    if (!dec.isValid()) {
        out.append(QLatin1StringView(bytes.data(), bytes.size()));
        return;
    }
    // GBK never gives more characters than bytes.
    const qsizetype start = out.size();
    out.resize(start + bytes.size() + 1);
    QChar *end = dec.appendToBuffer(out.data() + start, bytes);
    out.truncate(end - out.constData());
}

QByteArray encode(const QString &text)
{
    QStringEncoder enc("GBK", QStringEncoder::Flag::Stateless);
    if (!enc.isValid())
        return text.toLatin1();
    QByteArray out = enc.encode(text);
    if (!enc.hasError())
        return out;
    // Encode character by character so that only what GBK cannot hold is lost.
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        QStringEncoder one("GBK", QStringEncoder::Flag::Stateless);
        QByteArray b = one.encode(QStringView(text).mid(i, len));
        out += one.hasError() ? QByteArray("?") : b;
        i += len - 1;
    }
    return out;
}

qsizetype safeCut(const QByteArray &bytes, qsizetype maxBytes)
{
    if (bytes.size() <= maxBytes)
        return bytes.size();
    qsizetype i = 0;
    while (i < maxBytes) {
        const auto c = static_cast<unsigned char>(bytes.at(i));
        const qsizetype len = (c >= 0x81 && c <= 0xFE && i + 1 < bytes.size()) ? 2 : 1;
        if (i + len > maxBytes)
            break;
        i += len;
    }
    return i;
}

} // namespace Gbk
