#include "ucListBoxFill.h"

#include "Files.h"

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
        f.appResult = appResult;
        f.appCount = int(appResult.count(kSep));
        f.appCaption = QStringLiteral("找到 ") + QString::number(f.appCount) + QStringLiteral(" 个关于 ") + txt
            + QStringLiteral(" 的应用");
        f.appTooltip = true;
    }

    if (hisResult.isEmpty())
        return f;
    f.hisResult = hisResult;
    // Every entry of the result is followed by "@@"; only the first nine are
    // shown, so a result of thousands of entries is not split whole.
    qsizetype start = 0;
    for (qsizetype sep = hisResult.indexOf(kSep); sep >= 0 && f.hisRows.size() < kMaxHisRows;
         sep = hisResult.indexOf(kSep, start)) {
        // An entry's "@" is escaped in the result, so that it splits whole.
        f.hisRows.append(InputHisDecode(QStringView(hisResult).mid(start, sep - start)));
        start = sep + kSep.size();
    }
    if (f.hisRows.isEmpty())
        return f;
    f.rowCount = 3 + int(f.hisRows.size());
    f.selRow = kFirstHisRow;
    f.selected = f.hisRows.constFirst();
    f.seledSearch = false;
    return f;
}
