#include "net/GameMasters.h"

#include "model/EditedMasters.h"
#include "net/QuakeProtocol.h"
#include "platform/Preferences.h"
#include "platform/TextValue.h"

namespace {

// The text with the placeholder replaced; an empty value takes the blank before the
// placeholder away with it, so that "getservers {game} 6" asks "getservers 6".
QString withPlaceholder(QString text, const QString& placeholder, const QString& value)
{
    if (value.isEmpty())
        text.replace(u' ' + placeholder, QString());
    return text.replace(placeholder, value);
}

MasterSource::Transport transportOf(MasterDescription::Transport transport)
{
    return transport == MasterDescription::Transport::Tcp ? MasterSource::Transport::Tcp : MasterSource::Transport::Udp;
}

bool sameRequest(const MasterToAsk& one, const MasterToAsk& other)
{
    return one.host.compare(other.host, Qt::CaseInsensitive) == 0 && one.source.address.port == other.source.address.port
        && one.source.transport == other.source.transport && one.source.request == other.source.request;
}

}  // namespace

MasterToAsk GameMasters::askOf(const MasterDescription& master, int protocol)
{
    MasterSource source{master.label(), ServerAddress{0, master.port}, transportOf(master.transport),
                        requestOf(master, protocol), master.entryPrefix};
    source.listEnd = master.listEnd;
    return {master.host, source, protocol, master.listEnd};
}

QByteArray GameMasters::requestOf(const MasterDescription& master, int protocol)
{
    QString text = withPlaceholder(master.request, QStringLiteral("{game}"), master.gameName);
    text = withPlaceholder(text, QStringLiteral("{protocol}"), QString::number(protocol));
    text = withPlaceholder(text, QStringLiteral("{keywords}"), master.keywords);
    return QuakeProtocol::connectionlessHeader + text.toLatin1();
}

std::optional<quint16> GameMasters::masterPort(const QString& text)
{
    const int port = TextValue::integerValue(text);
    if (port < 2 || port > 65534)
        return std::nullopt;
    return static_cast<quint16>(port);
}

// The stored master, with the protocol of the settings alone; none when the game's
// master is not a setting or its host is empty or its port out of range.
QList<MasterDescription> GameMasters::storedMaster(const GameDescription& game, const Preferences& store)
{
    if (game.settingsPrefix.isEmpty())
        return {};
    const QString key = game.settingsPrefix + QStringLiteral(" Master Server");
    const QString host = store.stringForKey(key).trimmed();
    const std::optional<quint16> port = masterPort(store.stringForKey(key + QStringLiteral(" Port")));
    if (host.isEmpty() || !port)
        return {};
    MasterDescription master = EditedMasters::likeCatalogue(game, host, *port, MasterDescription::Transport::Udp);
    master.protocols = {TextValue::integerValue(store.stringForKey(key + QStringLiteral(" Protocol")))};
    return {master};
}

QList<MasterToAsk> GameMasters::mastersToAsk(const GameDescription& game, const Preferences& store)
{
    QList<MasterToAsk> masters;
    for (const MasterDescription& master : storedMaster(game, store) + EditedMasters::of(game, store)) {
        for (int protocol : master.protocols) {
            const MasterToAsk next = askOf(master, protocol);
            if (std::none_of(masters.cbegin(), masters.cend(), [&next](const MasterToAsk& asked) { return sameRequest(asked, next); }))
                masters.append(next);
        }
    }
    return masters;
}

std::optional<MasterToAsk> GameMasters::masterAt(const GameDescription& game, MasterDescription::Transport transport,
                                                 const QString& host, quint16 port, const Preferences& store)
{
    const bool gameHasTransport = std::any_of(game.masters.cbegin(), game.masters.cend(),
                                              [transport](const auto& master) { return master.transport == transport; });
    if (!gameHasTransport && transport == MasterDescription::Transport::Tcp)
        return std::nullopt;
    const MasterDescription master = EditedMasters::likeCatalogue(game, host, port, transport);
    const bool stored = transport == MasterDescription::Transport::Udp && !game.settingsPrefix.isEmpty();
    const int protocol = stored ? TextValue::integerValue(store.stringForKey(game.settingsPrefix
                                                                             + QStringLiteral(" Master Server Protocol")))
                                : master.protocols.value(0);
    return askOf(master, protocol);
}
