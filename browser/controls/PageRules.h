#pragma once

#include <QString>

#include <optional>

// The decisions of the page control that need no window.
namespace PageRules {

// The whole load percentage of progress out of progressMax: the quotient times
// 100, halves to the even neighbour, not clamped. None while progressMax is 0.
std::optional<int> ProgressPercent(double progress, double progressMax);

// The host of the search site that the error text recommends; a failing
// address that contains it shows no error panel.
extern const QString kSearchHost;

// Whether a failing address shows no error panel: it contains "java" or the
// search host, in any mix of capital and small letters.
bool SuppressesErrorPanel(const QString &url);

// The error panel's text for a status code (HTTP status, or a negative network
// code), with the cause in words beside the code.
QString ErrorText(int statusCode);

// The title kept for a new title text of the web view.
QString PageTitle(const QString &text, bool errorShown);

} // namespace PageRules
