#pragma once

#include "Variant.h"
#include "VbNodes.h"

// The operators of the language on values, with its type rules: results take
// the wider operand type, whole-number results overflow into the next type
// (Byte -> Integer -> Long -> Double), Null propagates, strings are compared
// code unit by code unit (or without regard to case for text compares).
namespace VariantOps {
Variant binary(VbBinOp op, const Variant &a, const Variant &b);
Variant negate(const Variant &a);
Variant logicalNot(const Variant &a);
// Compares two values; returns -1, 0 or 1, or 2 when either is Null.
int compare(const Variant &a, const Variant &b, bool textCompare = false);
// Equality as "=" does it, Null counting as not equal (Select Case).
bool equals(const Variant &a, const Variant &b);
// Concatenation with the length limit.
QString concat(const QString &a, const QString &b);
} // namespace VariantOps
