#include "platform/PlainText.h"

#include <QLabel>
#include <QTextDocument>

void PlainText::labelsOf(QWidget& window)
{
    for (QLabel* label : window.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
}

// A tooltip has no text format of its own: the text is escaped and made a paragraph
// of rich text, which shows every character as typed.
QString PlainText::toolTip(const QString& text)
{
    return Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal);
}
