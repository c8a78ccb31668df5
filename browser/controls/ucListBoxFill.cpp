#include "ucListBoxFill.h"

namespace {
const QString kSep = QStringLiteral("@@");
}

bool ucListBoxFill::looksLikeAddress(const QString &txt)
{
    return txt.contains(QLatin1Char('.')) || txt.contains(QLatin1Char('/')) || txt.contains(QLatin1Char(':'));
}

ucListBoxFill ucListBoxFill::make(const QString &txt, const QString &hisResult, const QString &appResult)
{
    ucListBoxFill f;
    f.gotoCaption = QStringLiteral("转到 ") + txt;
    f.searchCaption = QStringLiteral("搜索 ") + txt;
    if (looksLikeAddress(txt)) {
        f.selRow = kGotoRow;
        f.seledSearch = false;
    } else {
        f.selRow = kSearchRow;
        f.seledSearch = true;
    }
    f.selected = txt;

    if (appResult.isEmpty()) {
        f.appCaption = QStringLiteral("未找到与 ") + txt + QStringLiteral(" 相关的应用");
    } else {
        f.appLst = appResult.split(kSep);
        f.appCount = int(appResult.count(kSep));
        f.appCaption = QStringLiteral("找到 ") + QString::number(f.appCount) + QStringLiteral(" 个关于 ") + txt
            + QStringLiteral(" 的应用");
        f.appTooltip = true;
    }

    if (hisResult.isEmpty())
        return f;
    f.hisLst = hisResult.split(kSep);
    // Every entry of the result is followed by "@@": the last piece is not an entry.
    for (qsizetype i = 0; i + 1 < f.hisLst.size() && f.hisRows.size() < kMaxHisRows; ++i)
        f.hisRows.append(f.hisLst.at(i));
    if (f.hisRows.isEmpty())
        return f;
    f.rowCount = 3 + int(f.hisRows.size());
    f.selRow = kFirstHisRow;
    f.selected = f.hisRows.constFirst();
    f.seledSearch = false;
    return f;
}
