#pragma once

#include <QString>

#include <optional>

// Number rules the browser's settings and layout rely on.

// Rounds to the nearest whole number, halves to the even neighbour
// (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -0.5 -> 0).
long long RoundHalfEven(double v);

// Converts a stored text to a number: blanks around it are ignored; decimal
// with an optional sign, fraction and exponent, or hexadecimal with the prefix
// "&H" (and octal with "&O"), whose 16- or 32-bit forms are signed the way the
// settings files write colours. Empty text or anything else is no number.
std::optional<double> ToNumber(const QString &text);

// A flag is on when its value is a number equal to 1; an empty or non-numeric
// value counts as off.
bool FlagOn(const QString &value);

// The leading numeric part of a text (" 12abc" -> 12); 0 when there is none.
double LeadingNumber(const QString &text);
