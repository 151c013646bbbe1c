#pragma once

#include <QString>

// Tooltips that show foreign text exactly as it came, on one line. Qt draws a tip
// that looks like markup as rich text, and wraps rich text: an escaped text in an
// unwrapped paragraph shows every character as is.
namespace PlainTextTip {

QString of(const QString& text);

}  // namespace PlainTextTip
