#pragma once

#include <QString>

// The texts of the whole numbers from 0 to 999, made once and shared. A master scan
// keeps some hundred thousand players, each with a number, a score and a ping, and
// servers with a dozen small numeric settings: a shared text costs no allocation.
namespace NumberTexts {

// The shared text equal to this one when it writes a number from 0 to 999 in the
// plain way (digits only, no leading zero); otherwise the text itself.
QString shared(const QString& text);

}  // namespace NumberTexts
