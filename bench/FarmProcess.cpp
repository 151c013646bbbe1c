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
