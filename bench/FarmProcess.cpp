#include "FarmProcess.h"

namespace {

constexpr int startTimeoutMs = 60000;

}  // namespace

FarmProcess::~FarmProcess()
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    process.waitForFinished();
}

std::optional<FarmListing> FarmProcess::start(const Shape& shape)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(ZORVEL_FARM_PATH),
                  QStringList{QString::number(shape.seed), QString::number(shape.servers), QString::number(shape.minimumDelayMs),
                   QString::number(shape.maximumDelayMs), QString::number(shape.silentFraction), QStringLiteral("0")}
                      + shape.faults);
    if (!process.waitForStarted())
        return std::nullopt;
    FarmListing listing;
    for (;;) {
        while (process.canReadLine()) {
            if (listing.read(QString::fromLatin1(process.readLine())))
                return listing;
        }
        if (!process.waitForReadyRead(startTimeoutMs))
            return std::nullopt;
    }
}

// The farm answers "late ADDRESS MS" lines, then "lateness answers=N p50_ms=X
// p99_ms=Y max_ms=Z".
std::optional<FarmProcess::Lateness> FarmProcess::takeLateness()
{
    process.write("lateness\n");
    Lateness lateness;
    for (;;) {
        while (!process.canReadLine()) {
            if (!process.waitForReadyRead(startTimeoutMs))
                return std::nullopt;
        }
        const QStringList words = QString::fromLatin1(process.readLine()).trimmed().split(u' ');
        if (words.size() == 3 && words.first() == QStringLiteral("late")) {
            lateness.onceAnsweredMs.insert(words.at(1), words.at(2).toDouble());
            continue;
        }
        if (words.size() != 5 || words.first() != QStringLiteral("lateness"))
            return std::nullopt;
        const auto valueOf = [&words](int index) { return words.at(index).section(u'=', 1).toDouble(); };
        lateness.p50Ms = valueOf(2);
        lateness.p99Ms = valueOf(3);
        lateness.maxMs = valueOf(4);
        return lateness;
    }
}
