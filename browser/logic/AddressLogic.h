#pragma once

#include <QString>

#include <optional>

// The decisions of the address bar and the zoom box, free of any window.
namespace AddressLogic {

// Zoom limits and step of the "+" and "-" labels, in percent.
constexpr int kZoomMin = 50;
constexpr int kZoomMax = 1000;
constexpr int kZoomStep = 50;
constexpr int kZoomDefault = 100;

// The value of the zoom label ("125%"): every "%" removed, taken as a number.
// A text that is no number counts as 100.
double ZoomValue(const QString &caption);

// One step of the zoom buttons from the label's text: index 0 "+" adds 50,
// index 1 "-" takes 50 away, from the label's value rounded to a whole number
// (halves to the even neighbour). No value when the step would leave 50..1000.
std::optional<int> ZoomStep(const QString &caption, int index);

// What Enter (or a click in the suggestion list) does.
struct EnterAction
{
    // The address to navigate; empty: navigate nothing.
    QString url;
    // The text to put at the head of the input history; empty: record nothing.
    QString record;
};

// The typed search words as they go after the search address: UTF-8,
// percent-encoded, so that the search receives exactly what was typed.
QString SearchText(const QString &typed);

// boxText: the address box; selected, seledSearch: the list's selection;
// searchPrefix: the setting Search. The search row appends the encoded text
// (SearchText) to the prefix, which is used as it stands; any other row
// navigates to its text and records that very text. An empty box or an empty
// selection does nothing.
EnterAction Enter(const QString &boxText, const QString &selected, bool seledSearch, const QString &searchPrefix);

} // namespace AddressLogic
