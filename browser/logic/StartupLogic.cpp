#include "StartupLogic.h"

#include "Files.h"
#include "VbCompat.h"

#include <QFileInfo>
#include <QUrl>

int ZoomSetting()
{
    const auto n = ToNumber(ReadSet(QStringLiteral("Zoom")));
    return n ? int(RoundHalfEven(*n)) : 100;
}

QString StoredPageAddress(const QString &address)
{
    const QUrl url(address, QUrl::TolerantMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return address;
    return QString::fromLatin1(url.toEncoded());
}

std::optional<QString> StartPageAddress()
{
    const QString onOpen = ReadSet(QStringLiteral("OnOpen"));
    if (onOpen == QStringLiteral("0"))
        return ReadSet(QStringLiteral("HomePage"));
    if (onOpen == QStringLiteral("1"))
        return QStringLiteral("about:nav");
    if (onOpen == QStringLiteral("2"))
        return ReadSet(QStringLiteral("LastPage"));
    return std::nullopt;
}

bool IsStartPageAddress(const QString &address)
{
    const std::optional<QString> start = StartPageAddress();
    if (!start || start->trimmed().isEmpty() || address.trimmed().isEmpty())
        return false;
    const auto normal = [](const QString &a) {
        return QUrl::fromUserInput(a.trimmed()).adjusted(QUrl::StripTrailingSlash | QUrl::NormalizePathSegments);
    };
    return normal(*start) == normal(address);
}
