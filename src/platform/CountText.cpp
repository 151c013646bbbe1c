#include "platform/CountText.h"

#include <QLocale>

QString CountText::of(qsizetype count, const QString& singular, const QString& plural)
{
    return number(count) + u' ' + (count == 1 ? singular : plural);
}

QString CountText::number(qsizetype count)
{
    return QLocale().toString(qlonglong(count));
}
