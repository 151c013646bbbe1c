// refresh_bench: Refresh all over zorvel-farm's servers as favourites, a tenth of them
// silent, with "Timeout" 500 ms: the run on the scan engine beside the refresh one
// favourite after the other that it replaced, measured in the same run against the
// same farm. Prints one line; exits non-zero only when it could not measure.
//
//   refresh_bench [N]    the number of favourites, 200 by default
#include "FarmProcess.h"
#include "app/FavouritesRefresh.h"
#include "app/MasterScan.h"
#include "net/ScanEngine.h"
#include "platform/Preferences.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int defaultFavourites = 200;
constexpr double silentFraction = 0.1;
constexpr int timeoutMicroseconds = 500000;

QList<CodServerPtr> favouritesOf(const FarmListing& farm)
{
    QList<CodServerPtr> favourites;
    for (const QString& address : farm.addresses()) {
        const CodServerPtr favourite = CodServer::create();
        favourite->setServerIp(address);
        favourites.append(favourite);
    }
    return favourites;
}

qsizetype answeredAmong(const QList<CodServerPtr>& favourites)
{
    return std::count_if(favourites.cbegin(), favourites.cend(),
                         [](const CodServerPtr& each) { return each->commError() == CodServer::Answered; });
}

template <class Refresh>
double secondsOf(Refresh refresh)
{
    QElapsedTimer wall;
    wall.start();
    refresh();
    return static_cast<double>(wall.nsecsElapsed()) / 1e9;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const int count = argc > 1 ? QCoreApplication::arguments().at(1).toInt() : defaultFavourites;
    const QTemporaryDir settingsFolder;
    Preferences::installStandard(std::make_unique<Preferences>(settingsFolder.filePath(QStringLiteral("Zorvel.conf"))));
    Preferences::standard().setObject(timeoutMicroseconds, QStringLiteral("Timeout"));

    FarmProcess farmProcess;
    const std::optional<FarmListing> farm = farmProcess.start(
        {.seed = 1, .servers = count, .minimumDelayMs = 10, .maximumDelayMs = 120, .silentFraction = silentFraction});
    if (!farm) {
        std::fprintf(stderr, "refresh_bench: zorvel-farm did not start\n");
        return 1;
    }

    const QList<CodServerPtr> onEngine = favouritesOf(*farm);
    ScanEngine engine;
    FavouritesRefresh refresh(engine, MasterScan::settingsFor({}));
    const double after = secondsOf([&] { refresh.run(onEngine, {}, [](const CodServerPtr&, const QString&) {}); });

    const QList<CodServerPtr> inTurn = favouritesOf(*farm);
    const double before = secondsOf([&inTurn] {
        for (const CodServerPtr& favourite : inTurn)
            favourite->refreshTryingUt2004();
    });

    std::printf("refresh_all n=%d silent_pct=%.0f wall_s=%.2f before_s=%.2f timeout_s=%.2f target_s=%.2f answered=%lld "
                "before_answered=%lld farm_answering=%d\n",
                count, 100 * silentFraction, after, before, timeoutMicroseconds / 1e6, 2 * timeoutMicroseconds / 1e6 + 0.5,
                static_cast<long long>(answeredAmong(onEngine)), static_cast<long long>(answeredAmong(inTurn)),
                farm->answeringCount());
    return 0;
}
