#pragma once

#include <QColor>
#include <QString>

// The four program-wide colours of the current theme, set once at start-up and
// read by the window, the tabs, the page control and the suggestion list.
// Values are the system's colour numbers &H00BBGGRR.
extern long ClrMain;
extern long ClrTabAct;
extern long ClrTabNrm;
extern long ClrToolBar;

// A colour number as a QColor (red in the lowest byte, blue in the third).
QColor VbColor(long value);

// The theme's picture folder: program folder + "Themes\" + the theme's file
// name up to its first "." + "\". Reads the setting anew at each call.
QString GetThemeDir();
// The theme's ini file: program folder + "Themes\" + the setting Theme.
QString GetThemeIni();

// Reads the four colours and WhiteFont of section "Clr". False, leaving the
// globals untouched, when a key is missing or not a number.
struct ThemeData
{
    long main = 0, tabAct = 0, tabNrm = 0, toolBar = 0;
    bool whiteFont = false;
};
bool ReadThemeData(ThemeData *out);
