#include "platform/PlainTextTip.h"

namespace PlainTextTip {

QString of(const QString& text)
{
    return text.isEmpty() ? QString()
                          : QStringLiteral("<p style=\"white-space:pre\">%1</p>").arg(text.toHtmlEscaped());
}

}  // namespace PlainTextTip
