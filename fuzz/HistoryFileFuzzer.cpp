// The history of servers is read back from a file that a crash, a full disk or anyone
// may have damaged: no file may crash the opening, and whatever opens takes answers
// and answers questions.
#include "FuzzInput.h"

#include "history/HistoryDatabase.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <unistd.h>

namespace {

// The folder of this run's history files, removed when the run ends.
struct HistoryFolder {
    QString path = QDir::tempPath() + QStringLiteral("/zorvel-fuzz-history-%1").arg(getpid());
    ~HistoryFolder() { QDir(path).removeRecursively(); }
};

ServerAnswer someAnswer()
{
    ServerAnswer answer;
    answer.time = 1'800'000'000;
    answer.address = QStringLiteral("10.0.0.1:28960");
    answer.playerList = {std::make_shared<const CodPlayer>(
        CodPlayer::Fields{.name = QStringLiteral("Sarge"), .colouredName = QStringLiteral("^1Sarge")})};
    answer.players = 1;
    return answer;
}

QList<Sighting> sarge(HistoryDatabase& database)
{
    return database.lastSightings(QStringLiteral("sarge"), 10);
}

bool holdsTogether(HistoryDatabase& database)
{
    QSqlQuery check = database.select(QStringLiteral("PRAGMA integrity_check"), {});
    return check.next() && check.value(0).toString() == QStringLiteral("ok");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const HistoryFolder folder;
    QDir(folder.path).removeRecursively();
    QDir().mkpath(folder.path);
    const QString path = folder.path + QStringLiteral("/history.sqlite");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(FuzzInput::bytesOf(data, size));
    file.close();

    HistoryDatabase database(path);
    if (database.open() == HistoryDatabase::Opening::Failed)
        return 0;
    const HistoryDatabase::Writing written = database.write({someAnswer()});
    database.playersOverTime(QStringLiteral("10.0.0.1:28960"), 0);
    // What was written is found again, unless the file was damaged where SQLite's
    // quick check at opening does not look: then SQLite either found the damage, and a
    // new file takes the answer, or its full check sees it.
    if (written == HistoryDatabase::Writing::Written && sarge(database).isEmpty())
        FuzzInput::require(database.isDamaged() || !holdsTogether(database));
    if (database.isDamaged()) {
        FuzzInput::require(database.startAnew() == HistoryDatabase::Opening::DamagedKept);
        FuzzInput::require(database.write({someAnswer()}) == HistoryDatabase::Writing::Written);
        FuzzInput::require(!sarge(database).isEmpty());
    }
    database.prune({}, 1'800'000'000);
    return 0;
}
