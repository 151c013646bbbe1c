#pragma once

#include <QString>

#include <optional>

// Numbers read out of texts (status answers, settings, controls). A text is read by
// its leading number: blanks skipped, an optional sign, then the digits that follow.
namespace TextValue {

// The leading decimal integer, clamped to the int range; nothing when the text has
// no digits after its blanks and sign.
std::optional<int> leadingInteger(const QString& text);
// The leading decimal integer; 0 when there is none.
int integerValue(const QString& text);

// The leading real number ("500 ms" reads 500, "1.5s" reads 1.5), or nothing when
// there is none.
std::optional<double> leadingReal(const QString& text);
// The leading real number; 0 when there is none.
double realValue(const QString& text);

// The delay in seconds between two console commands sent in a row, from the setting
// "Latency for double command": above 10 the number counts as milliseconds.
double doubleCommandLatency(const QString& setting);

}  // namespace TextValue
