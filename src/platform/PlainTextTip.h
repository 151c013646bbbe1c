#pragma once

#include <QString>

// Tooltips that show foreign text exactly as it came. Qt draws a tip that looks like
// markup as rich text; an escaped text in a paragraph shows every character as is.
namespace PlainTextTip {

QString of(const QString& text);

}  // namespace PlainTextTip
