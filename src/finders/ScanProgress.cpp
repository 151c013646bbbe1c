#include "finders/ScanProgress.h"

#include "platform/CountText.h"

QString ScanProgress::text(const QString& gameName) const
{
    return QStringLiteral("%1: %2%3 of %4 queried, %5 answered")
        .arg(gameName, stopped ? QStringLiteral("stopped, ") : QString(), CountText::number(counts.queried),
             CountText::number(counts.listed), CountText::number(counts.answered));
}

QString ScanProgress::serversInDatabase(int kept, bool stopped)
{
    return CountText::of(kept, QStringLiteral("server"), QStringLiteral("servers"))
           + QStringLiteral(" in database") + (stopped ? QStringLiteral(" (stopped)") : QString());
}

QString ScanProgress::mastersTip() const
{
    QStringList lines;
    for (const MasterOutcome& master : masters)
        lines.append(master.master + QStringLiteral(": ") + master.text());
    return lines.join(u'\n');
}
