#include "model/EditedMasters.h"

#include "model/GameCatalogueReader.h"
#include "platform/Preferences.h"

#include <QtDebug>

QString EditedMasters::keyOf(const GameDescription& game)
{
    return QStringLiteral("Masters ") + game.id;
}

QList<MasterDescription> EditedMasters::of(const GameDescription& game, const Preferences& store)
{
    const QString stored = store.stringForKey(keyOf(game));
    if (stored.isEmpty())
        return game.masters;
    const GameCatalogueReader::Masters edited = GameCatalogueReader::readMasters(stored.toUtf8());
    if (!edited.error.isEmpty()) {
        qWarning().noquote() << QStringLiteral("The setting \"%1\" was left aside: %2").arg(keyOf(game), edited.error);
        return game.masters;
    }
    return edited.masters;
}

bool EditedMasters::store(const GameDescription& game, const QList<MasterDescription>& masters, Preferences& store)
{
    const QString value =
        masters == game.masters ? QString() : QString::fromUtf8(GameCatalogueReader::jsonOf(masters));
    if (store.stringForKey(keyOf(game)) == value)
        return true;
    return store.setObject(value, keyOf(game));
}

MasterDescription EditedMasters::likeCatalogue(const GameDescription& game, const QString& host, quint16 port,
                                               MasterDescription::Transport transport)
{
    const auto at = [&](const MasterDescription& master) {
        return master.host.compare(host, Qt::CaseInsensitive) == 0 && master.port == port && master.transport == transport;
    };
    const auto alike = [transport](const MasterDescription& master) { return master.transport == transport; };
    auto found = std::find_if(game.masters.cbegin(), game.masters.cend(), at);
    if (found == game.masters.cend())
        found = std::find_if(game.masters.cbegin(), game.masters.cend(), alike);
    MasterDescription master;
    if (found != game.masters.cend()) {
        master = *found;
    } else {
        master.request = QStringLiteral("getservers {game} {protocol} {keywords}");
        master.keywords = QStringLiteral("empty full");
        master.listEnd = transport == MasterDescription::Transport::Tcp ? MasterDescription::ListEnd::StreamEnd
                                                                        : MasterDescription::ListEnd::EndOfTransmission;
    }
    master.host = host;
    master.port = port;
    master.transport = transport;
    return master;
}
