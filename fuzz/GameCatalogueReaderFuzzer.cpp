// A user's games.json is stored data: no file may crash or hang the reader, a file it
// reads has games with the fields every user of the catalogue relies on, and a user
// file laid over the built-in one either reads or says why.
#include "FuzzInput.h"
#include "model/GameCatalogue.h"
#include "model/GameCatalogueReader.h"

#include <QSet>

namespace {

void checkGames(const GameCatalogueReader::Result& result)
{
    FuzzInput::require(result.error.isEmpty() || result.games.isEmpty());
    QSet<QString> ids;
    for (const GameDescription& game : result.games) {
        FuzzInput::require(!game.id.isEmpty() && !game.name.trimmed().isEmpty() && !ids.contains(game.id));
        ids.insert(game.id);
        for (const MasterDescription& master : game.masters) {
            FuzzInput::require(master.port != 0 && !master.protocols.isEmpty());
            FuzzInput::require(master.request.contains(QStringLiteral("{protocol}")));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QByteArray builtIn = GameCatalogue::builtInJson();
    const QByteArray bytes = FuzzInput::bytesOf(data, size);
    checkGames(GameCatalogueReader::read(bytes));
    const GameCatalogueReader::Result merged = GameCatalogueReader::readMerged(builtIn, bytes);
    checkGames(merged);
    FuzzInput::require(!merged.error.isEmpty() || merged.games.size() >= 9);
    return 0;
}
