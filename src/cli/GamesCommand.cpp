#include "cli/GamesCommand.h"

#include "cli/Console.h"
#include "cli/JsonObject.h"
#include "model/GameCatalogue.h"
#include "net/GameMasters.h"
#include "platform/Preferences.h"

namespace {

// "udp://host:port" or "tcp://host:port".
QString masterText(const MasterToAsk& master)
{
    const bool tcp = master.source.transport == MasterSource::Transport::Tcp;
    return (tcp ? QStringLiteral("tcp://") : QStringLiteral("udp://")) + master.source.label;
}

QByteArray mastersJson(const QList<MasterToAsk>& masters)
{
    QList<QByteArray> entries;
    for (const MasterToAsk& master : masters)
        entries.append(JsonObject().addText("master", masterText(master)).addInteger("protocol", master.protocol).json());
    return JsonObject::array(entries);
}

// One line per master, with the protocols asked of it in order.
QString mastersText(const QList<MasterToAsk>& masters)
{
    QStringList lines;
    QString lastMaster;
    for (const MasterToAsk& master : masters) {
        if (masterText(master) == lastMaster) {
            lines.last() += u' ' + QString::number(master.protocol);
            continue;
        }
        lastMaster = masterText(master);
        lines.append(QStringLiteral("  %1  protocols %2").arg(lastMaster).arg(master.protocol));
    }
    return lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n';
}

}  // namespace

QString GamesCommand::usage() const
{
    return QStringLiteral("zorvel games [--json]");
}

QString GamesCommand::summary() const
{
    return QStringLiteral("List the games that scan knows, with the masters and protocols it asks, in order.");
}

void GamesCommand::describe(QCommandLineParser& parser) const
{
    parser.addOption(jsonOption);
}

// Each game's first line names the master asked first (the preferences' one for the
// Call of Duty games); the lines under it every request in the order it is asked.
int GamesCommand::run(const QCommandLineParser& parser)
{
    if (!parser.positionalArguments().isEmpty())
        throw Refusal{QStringLiteral("games takes no argument")};
    for (const GameDescription& game : GameCatalogue::standard().games()) {
        const QList<MasterToAsk> masters = GameMasters::mastersToAsk(game, Preferences::standard());
        const QString master = masters.isEmpty() ? QString() : masters.constFirst().source.label;
        const QString protocol = masters.isEmpty() ? QString() : QString::number(masters.constFirst().protocol);
        if (parser.isSet(jsonOption)) {
            Console::out(JsonObject()
                             .addText("game", game.id)
                             .addText("name", game.name)
                             .addText("master", master)
                             .addText("protocol", protocol)
                             .addJson("masters", mastersJson(masters))
                             .json()
                         + '\n');
        } else {
            Console::out(QStringLiteral("%1  %2  %3  protocol %4\n%5")
                             .arg(game.id.leftJustified(9), game.name.leftJustified(16), master, protocol,
                                  mastersText(masters))
                             .toUtf8());
        }
    }
    return Success;
}
