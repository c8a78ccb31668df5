#include "ContentFilter.h"

#include "VbCompat.h"

namespace ContentFilter {

const QStringList &ListA()
{
    static const QStringList words = {
        QStringLiteral("性交"), QStringLiteral("女优"), QStringLiteral("a片"), QStringLiteral("强奸"),
        QStringLiteral("露逼"), QStringLiteral("肛交"), QStringLiteral("乳交"), QStringLiteral("鸡巴"),
        QStringLiteral("春药"), QStringLiteral("迷奸"), QStringLiteral("换妻"), QStringLiteral("一夜情"),
        QStringLiteral("上床"), QStringLiteral("肏"), QStringLiteral("勃起"), QStringLiteral("吻"),
        QStringLiteral("裸体"), QStringLiteral("胴体"), QStringLiteral("裸聊"), QStringLiteral("手淫"),
        QStringLiteral("自慰"), QStringLiteral("做爱"), QStringLiteral("fuck"), QStringLiteral("porn"),
    };
    return words;
}

const QStringList &ListB()
{
    static const QStringList words = {
        QStringLiteral("爆头"), QStringLiteral("杀人"), QStringLiteral("肢解"), QStringLiteral("奸杀"),
        QStringLiteral("折磨"), QStringLiteral("杀害"), QStringLiteral("虐"),
    };
    return words;
}

bool FilterOn(const QString &useFilter)
{
    return FlagOn(useFilter);
}

bool ListEnabled(const QString &filter, int position)
{
    if (position < 1 || position > filter.size())
        return false;
    const auto n = ToNumber(QString(filter.at(position - 1)));
    return n && *n == 1.0;
}

QStringList UserWords(const QString &filterText)
{
    QStringList words = filterText.split(QLatin1Char(';'));
    words.removeAll(QString());
    return words;
}

namespace {
// The title is searched in lower case; so is each word, so that a word found
// in the title is found however either is written.
bool Search(const QString &lowerTitle, const QStringList &words, QString *word)
{
    for (const QString &w : words) {
        if (!w.isEmpty() && lowerTitle.contains(w.toLower(), Qt::CaseSensitive)) {
            if (word)
                *word = w;
            return true;
        }
    }
    return false;
}
} // namespace

bool FindWord(const QString &title, const QString &useFilter, const QString &filter, const QString &filterText,
              QString *word)
{
    if (!FilterOn(useFilter))
        return false;
    const QString lower = title.toLower();
    if (ListEnabled(filter, 1) && Search(lower, ListA(), word))
        return true;
    if (ListEnabled(filter, 2) && Search(lower, ListB(), word))
        return true;
    if (ListEnabled(filter, 3) && Search(lower, UserWords(filterText), word))
        return true;
    return false;
}

} // namespace ContentFilter
