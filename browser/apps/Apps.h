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

// Runs the app whose ini file is at the full path iniPath. Returns "" when the
// app started (or is an address app, has no script, or the user declined the
// page prompt), otherwise the error text to show: the app's name, the error's
// description, line and column. Shows no message itself.
QString RunApp(const QString &iniPath);

// Runs every app marked OnLoad = 1, ignoring their results; called after each
// navigation-complete of the current tab.
void RunLoadApps();

// The full path of a file an app's ini names (relative to the program
// folder), or "" when the value leads outside the program folder ("..",
// links pointing out): an app's ini cannot make the browser read other files
// as the app's own.
QString AppFile(const QString &value);

// Highest app number that the registry walks consider: app numbers are 16-bit,
// as the icon array of the app panel, so a damaged "Count" cannot make a walk
// run for ever.
constexpr int kMaxAppNumber = 32767;

// The number of registry entries to walk for a "Count" value: its whole part,
// 0 when missing or not a number, at most kMaxAppNumber.
int AppCountFromText(const QString &countText);

// The number of registry entries worth walking: "Count" read as above, but
// no further than the highest "appN" line the registry holds, so a damaged
// count does not build thousands of empty icons or runs.
int AppWalkCount();
