// The player finder's kept names come back from the settings file, which the user
// (or anything else) may have edited: no stored value may crash the reading, and the
// names read must come back the same after they are stored again.
#include "FuzzInput.h"

#include "finders/FavoritePlayers.h"
#include "platform/Preferences.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace {

// The settings file of this run, removed when the run ends.
struct SettingsFile {
    QString path = QDir::tempPath() + QStringLiteral("/zorvel-fuzz-favorite-players-%1.conf").arg(getpid());
    ~SettingsFile() { QFile::remove(path); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const SettingsFile settings;
    const QString& path = settings.path;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write("[General]\nFavorite%20players=" + FuzzInput::bytesOf(data, size));
    file.close();
    Preferences::installStandard(std::make_unique<Preferences>(path));
    const QStringList names = FavoritePlayers::stored();
    FavoritePlayers::store(names);
    FuzzInput::require(FavoritePlayers::stored() == names);
    return 0;
}
