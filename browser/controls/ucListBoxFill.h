#pragma once

#include <QString>
#include <QStringList>

// What the suggestion list shows and preselects for one typed text, computed
// from the two search results without any widget.
struct ucListBoxFill
{
    // Grid rows of the list: 0 go to, 1 search, 2 app count, 3 and up history.
    static constexpr int kGotoRow = 0;
    static constexpr int kSearchRow = 1;
    static constexpr int kAppRow = 2;
    static constexpr int kFirstHisRow = 3;
    // The list shows at most this many history entries.
    static constexpr int kMaxHisRows = 9;

    QString gotoCaption;
    QString searchCaption;
    QString appCaption;
    // Whether the app row's tooltip takes its caption (only when apps were found).
    bool appTooltip = false;
    int appCount = 0;
    // The two search results as they came (entries each followed by "@@").
    QString hisResult;
    QString appResult;
    // The history rows shown, in order.
    QStringList hisRows;
    int rowCount = 3;

    int selRow = kSearchRow;
    QString selected;
    bool seledSearch = true;

    // txt is the typed text; hisResult and appResult are the results of the
    // history and app searches for it (entries each followed by "@@").
    static ucListBoxFill make(const QString &txt, const QString &hisResult, const QString &appResult);

    // Whether a typed text looks like an address rather than search words.
    static bool looksLikeAddress(const QString &txt);
};
