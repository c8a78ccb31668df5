#pragma once

#include <QString>

// The installed apps: the registry "Apps\Apps.ini" (section "Apps": "Count"
// and "app1" ... "appN", each the app's ini file relative to "Apps\" written
// as <name>\<name>.ini) and each app's own ini file (section "App").

// The display names of the installed apps whose name contains txt without
// regard to case, in registry order, each followed by "@@"; "" when none.
// An empty txt lists every registered app (an app whose ini cannot be read
// has an empty name, which matches only the empty text).
QString FindApps(const QString &txt);

// Runs every app marked OnLoad = 1; called after each navigation-complete of
// the current tab. Running apps arrives with the script host; until then
// there is nothing to run.
void RunLoadApps();

// Highest app number that the registry walks consider: app numbers are 16-bit,
// as the icon array of the app panel, so a damaged "Count" cannot make a walk
// run for ever.
constexpr int kMaxAppNumber = 32767;

// The number of registry entries to walk for a "Count" value: its whole part,
// 0 when missing or not a number, at most kMaxAppNumber.
int AppCountFromText(const QString &countText);
