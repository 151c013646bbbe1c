#include "finders/ScanProgress.h"

#include <QLocale>

QString ScanProgress::text(const QString& gameName) const
{
    const QLocale locale;
    return QStringLiteral("%1: %2%3 of %4 queried, %5 answered")
        .arg(gameName, stopped ? QStringLiteral("stopped, ") : QString(), locale.toString(counts.queried),
             locale.toString(counts.listed), locale.toString(counts.answered));
}

QString ScanProgress::serversInDatabase(int kept, bool stopped)
{
    return QStringLiteral("%1 %2 in database%3")
        .arg(QLocale().toString(kept), kept == 1 ? QStringLiteral("server") : QStringLiteral("servers"),
             stopped ? QStringLiteral(" (stopped)") : QString());
}
