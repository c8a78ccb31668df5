#pragma once

#include <QDateTime>
#include <QString>

// Dates as the runtime keeps them: days since 30 December 1899 as a double,
// the fraction is the time of day (for days before the epoch the fraction
// still counts forward from midnight).
namespace DateUtil {
constexpr double MinDate = -657434.0;        // 1 January 100
constexpr double MaxDate = 2958465.99999999; // 31 December 9999 23:59:59

bool inRange(double d);
// Whole-second split of a date value.
void split(double d, int &year, int &month, int &day, int &hour, int &minute, int &second);
// DateSerial with the runtime's wrap-around of months and days; throws 5 out of range.
double serial(int year, int month, int day);
double timeSerial(int hour, int minute, int second);
// Whole seconds from the epoch and back, with the runtime's encoding of
// times before it (-1.25 is 29 December 1899, 06:00).
long long toSeconds(double d);
double fromSeconds(long long secs);
double fromDateTime(const QDateTime &dt);
double now();
int weekday(double d); // 1 = Sunday
bool parse(const QString &text, double &out);
} // namespace DateUtil
