#pragma once

#include <QString>
#include <QStringList>

// The content filter on page titles: built-in word lists and the user's own
// words, each list switched by one flag character of the setting Filter.
namespace ContentFilter {

// List A, then list B, in the order they are searched.
const QStringList &ListA();
const QStringList &ListB();

// Whether the filter is on: UseFilter taken as a number equals 1 (a value
// that is no number counts as 0).
bool FilterOn(const QString &useFilter);

// Whether word list position (1, 2 or 3) is enabled by the Filter text: the
// character at that position taken as a number equals 1. A missing or
// non-numeric character counts as "0".
bool ListEnabled(const QString &filter, int position);

// The user's words: FilterText split at ";", each piece unchanged. Empty
// pieces (from ";;" or a leading or trailing ";") are dropped: an empty word
// would be found in every title.
QStringList UserWords(const QString &filterText);

// Searches the lower-cased title for the words of the enabled lists, in the
// order A, B, the user's words. Returns true at the first word found and puts
// it in *word (as the list holds it). Letter case counts for none of the
// lists: the user's words are compared in lower case like the title.
bool FindWord(const QString &title, const QString &useFilter, const QString &filter, const QString &filterText,
              QString *word = nullptr);

} // namespace ContentFilter
