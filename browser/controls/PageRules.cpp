#include "PageRules.h"

#include "NetErrorText.h"
#include "VbCompat.h"

namespace PageRules {

const QString kSearchHost = QStringLiteral("www.baidu.com");

std::optional<int> ProgressPercent(double progress, double progressMax)
{
    if (progressMax == 0)
        return std::nullopt;
    return int(RoundHalfEven(progress / progressMax * 100.0));
}

bool SuppressesErrorPanel(const QString &url)
{
    const QString lower = url.toLower();
    return lower.contains(QLatin1String("java")) || lower.contains(kSearchHost.toLower());
}

QString ErrorText(int statusCode)
{
    return QStringLiteral("这个页面暂时无法显示，您可以尝试刷新页面") + QStringLiteral("\r\n")
        + QStringLiteral("或者从搜索引擎检索该网站的相关信息") + QStringLiteral("\r\n\r\n")
        + QStringLiteral("错误代码 ") + QString::number(statusCode) + QStringLiteral("（")
        + NetErrorText::Explain(statusCode) + QStringLiteral("）");
}

QString PageTitle(const QString &text, bool errorShown)
{
    if (text == QLatin1String("about:nav"))
        return QStringLiteral("Tessivane 导航");
    return errorShown ? QStringLiteral("Tessivane 无法载入页面") : text;
}

} // namespace PageRules
