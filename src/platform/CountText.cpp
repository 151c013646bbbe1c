#include "platform/CountText.h"

QString CountText::of(qsizetype count, const QString& singular, const QString& plural)
{
    return QString::number(count) + u' ' + (count == 1 ? singular : plural);
}
