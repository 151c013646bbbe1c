#include "model/GameCatalogueReader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QRegularExpression>
#include <QSet>

#include <cmath>

namespace {

// What is wrong with the file, thrown from deep in the reading and caught once.
struct Fault {
    QString text;
};

[[noreturn]] void fail(const QString& where, const QString& what)
{
    throw Fault{where + QStringLiteral(": ") + what};
}

QString at(const QString& where, const QString& key)
{
    return where.isEmpty() ? key : where + u'.' + key;
}

QString textOf(const QJsonObject& object, const QString& key, const QString& where, const QString& fallback = {})
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return fallback;
    if (!value.isString())
        fail(at(where, key), QStringLiteral("expected a text"));
    return value.toString();
}

QJsonArray arrayOf(const QJsonObject& object, const QString& key, const QString& where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return {};
    if (!value.isArray())
        fail(at(where, key), QStringLiteral("expected a list"));
    return value.toArray();
}

QStringList textsOf(const QJsonObject& object, const QString& key, const QString& where, const QStringList& fallback)
{
    if (!object.contains(key))
        return fallback;
    QStringList texts;
    const QJsonArray array = arrayOf(object, key, where);
    for (qsizetype i = 0; i < array.size(); ++i) {
        if (!array.at(i).isString())
            fail(QStringLiteral("%1[%2]").arg(at(where, key)).arg(i), QStringLiteral("expected a text"));
        texts.append(array.at(i).toString());
    }
    return texts;
}

bool flagOf(const QJsonObject& object, const QString& key, const QString& where)
{
    const QJsonValue value = object.value(key);
    if (value.isUndefined())
        return false;
    if (!value.isBool())
        fail(at(where, key), QStringLiteral("expected true or false"));
    return value.toBool();
}

int integerOf(const QJsonValue& value, const QString& where, int lowest, int highest)
{
    const double number = value.toDouble(-1.0);
    // The range first: a number far past it has no whole value to compare with.
    if (!value.isDouble() || number < lowest || number > highest || number != std::trunc(number))
        fail(where, QStringLiteral("expected a whole number from %1 to %2").arg(lowest).arg(highest));
    return static_cast<int>(number);
}

QList<int> integersOf(const QJsonObject& object, const QString& key, const QString& where, int lowest, int highest)
{
    QList<int> numbers;
    const QJsonArray array = arrayOf(object, key, where);
    for (qsizetype i = 0; i < array.size(); ++i)
        numbers.append(integerOf(array.at(i), QStringLiteral("%1[%2]").arg(at(where, key)).arg(i), lowest, highest));
    return numbers;
}

QJsonObject objectOf(const QJsonValue& value, const QString& where)
{
    if (!value.isObject())
        fail(where, QStringLiteral("expected an object"));
    return value.toObject();
}

// The value of a text field that takes one of a few words.
template <typename Enum>
Enum choiceOf(const QJsonObject& object, const QString& key, const QString& where,
              const QList<std::pair<QString, Enum>>& choices)
{
    const QString word = textOf(object, key, where, choices.first().first);
    QStringList words;
    for (const auto& [name, value] : choices) {
        if (name == word)
            return value;
        words.append(u'"' + name + u'"');
    }
    fail(at(where, key), QStringLiteral("expected one of ") + words.join(QStringLiteral(", ")));
}

QByteArray hexOf(const QJsonObject& object, const QString& key, const QString& where)
{
    static const QRegularExpression hexPairs(QStringLiteral("^([0-9A-Fa-f]{2})*$"));
    const QString text = textOf(object, key, where);
    if (!hexPairs.match(text).hasMatch())
        fail(at(where, key), QStringLiteral("expected pairs of hex digits"));
    return QByteArray::fromHex(text.toLatin1());
}

using Transport = MasterDescription::Transport;
using ListEnd = MasterDescription::ListEnd;

const QList<std::pair<QString, Transport>>& transportWords()
{
    static const QList<std::pair<QString, Transport>> words = {{QStringLiteral("udp"), Transport::Udp},
                                                               {QStringLiteral("tcp"), Transport::Tcp}};
    return words;
}

const QList<std::pair<QString, ListEnd>>& listEndWords()
{
    static const QList<std::pair<QString, ListEnd>> words = {
        {QStringLiteral("eot"), ListEnd::EndOfTransmission},
        {QStringLiteral("eot-nul"), ListEnd::EndOfTransmissionWithNul},
        {QStringLiteral("silence"), ListEnd::Silence},
        {QStringLiteral("stream-end"), ListEnd::StreamEnd},
    };
    return words;
}

template <typename Enum>
QString wordIn(const QList<std::pair<QString, Enum>>& words, Enum value)
{
    for (const auto& [word, each] : words) {
        if (each == value)
            return word;
    }
    return {};
}

MasterDescription masterOf(const QJsonObject& object, const QString& where)
{
    MasterDescription master;
    master.host = textOf(object, QStringLiteral("host"), where);
    if (master.host.trimmed().isEmpty())
        fail(at(where, QStringLiteral("host")), QStringLiteral("expected a host name or address"));
    master.port = static_cast<quint16>(integerOf(object.value(QStringLiteral("port")), at(where, QStringLiteral("port")), 1, 65535));
    master.transport = choiceOf<Transport>(object, QStringLiteral("transport"), where, transportWords());
    master.request = textOf(object, QStringLiteral("request"), where, QStringLiteral("getservers {game} {protocol} {keywords}"));
    if (!master.request.contains(QStringLiteral("{protocol}")))
        fail(at(where, QStringLiteral("request")), QStringLiteral("expected {protocol} in the request"));
    master.gameName = textOf(object, QStringLiteral("gameName"), where);
    master.protocols = integersOf(object, QStringLiteral("protocols"), where, 0, 1'000'000);
    if (master.protocols.isEmpty())
        fail(at(where, QStringLiteral("protocols")), QStringLiteral("expected at least one protocol number"));
    master.keywords = textOf(object, QStringLiteral("keywords"), where, QStringLiteral("empty full"));
    master.entryPrefix = hexOf(object, QStringLiteral("entryPrefix"), where);
    master.listEnd = choiceOf<ListEnd>(object, QStringLiteral("listEnd"), where, listEndWords());
    return master;
}

QList<MasterDescription> mastersOf(const QJsonObject& game, const QString& where)
{
    QList<MasterDescription> masters;
    const QJsonArray array = arrayOf(game, QStringLiteral("masters"), where);
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString place = QStringLiteral("%1[%2]").arg(at(where, QStringLiteral("masters"))).arg(i);
        masters.append(masterOf(objectOf(array.at(i), place), place));
    }
    return masters;
}

StatusKeys statusKeysOf(const QJsonObject& game, const QString& where)
{
    const QString place = at(where, QStringLiteral("statusKeys"));
    const QJsonObject keys = objectOf(game.value(QStringLiteral("statusKeys")).isUndefined()
                                          ? QJsonObject{}
                                          : game.value(QStringLiteral("statusKeys")),
                                      place);
    return {
        textsOf(keys, QStringLiteral("name"), place, {QStringLiteral("sv_hostname"), QStringLiteral("hostname")}),
        textsOf(keys, QStringLiteral("password"), place, {QStringLiteral("g_needpass"), QStringLiteral("pswrd")}),
        textsOf(keys, QStringLiteral("maxClients"), place, {QStringLiteral("sv_maxclients")}),
        textsOf(keys, QStringLiteral("gametype"), place, {QStringLiteral("g_gametype")}),
    };
}

QList<GametypeName> gametypesOf(const QJsonObject& game, const QString& where)
{
    QList<GametypeName> gametypes;
    const QJsonArray array = arrayOf(game, QStringLiteral("gametypes"), where);
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QJsonArray pair = array.at(i).toArray();
        if (!array.at(i).isArray() || pair.size() != 2 || !pair.at(0).isString() || !pair.at(1).isString())
            fail(QStringLiteral("%1[%2]").arg(at(where, QStringLiteral("gametypes"))).arg(i),
                 QStringLiteral("expected [id, name]"));
        gametypes.append({pair.at(0).toString(), pair.at(1).toString()});
    }
    return gametypes;
}

QList<std::pair<QString, QString>> recognitionKeysOf(const QJsonObject& game, const QString& where)
{
    const QString place = at(where, QStringLiteral("recognitionKeys"));
    const QJsonValue value = game.value(QStringLiteral("recognitionKeys"));
    QList<std::pair<QString, QString>> keys;
    if (value.isUndefined())
        return keys;
    const QJsonObject object = objectOf(value, place);
    for (auto it = object.constBegin(); it != object.constEnd(); ++it)
        keys.append({it.key(), textOf(object, it.key(), place)});
    return keys;
}

std::optional<MapListingCommand> mapListingOf(const QJsonObject& admin, const QString& where)
{
    const QJsonValue value = admin.value(QStringLiteral("mapListing"));
    if (value.isUndefined() || value.isNull())
        return std::nullopt;
    const QString place = at(where, QStringLiteral("mapListing"));
    const QJsonObject listing = objectOf(value, place);
    MapListingCommand command{textOf(listing, QStringLiteral("command"), place),
                              textOf(listing, QStringLiteral("prefix"), place),
                              textOf(listing, QStringLiteral("extension"), place)};
    if (command.command.isEmpty())
        fail(at(place, QStringLiteral("command")), QStringLiteral("expected the listing command"));
    return command;
}

AdminCommands adminOf(const QJsonObject& game, const QString& where)
{
    const QString place = at(where, QStringLiteral("admin"));
    const QJsonValue value = game.value(QStringLiteral("admin"));
    const QJsonObject admin = value.isUndefined() ? QJsonObject{} : objectOf(value, place);
    return {
        textOf(admin, QStringLiteral("kickByName"), place, QStringLiteral("kick {name}")),
        textOf(admin, QStringLiteral("kickBySlot"), place, QStringLiteral("clientKick {slot}")),
        textOf(admin, QStringLiteral("ban"), place, QStringLiteral("banUser {name}")),
        mapListingOf(admin, place),
    };
}

QList<quint16> portsOf(const QJsonObject& game, const QString& where)
{
    QList<quint16> ports;
    for (int port : integersOf(game, QStringLiteral("ports"), where, 1, 65535))
        ports.append(static_cast<quint16>(port));
    return ports;
}

void checkId(const QString& id, const QString& where)
{
    static const QRegularExpression idPattern(QStringLiteral("^[a-z0-9][a-z0-9_-]{0,31}$"));
    if (!idPattern.match(id).hasMatch())
        fail(at(where, QStringLiteral("id")),
             QStringLiteral("expected a short id of lower-case letters, digits, - and _"));
}

GameDescription gameOf(const QJsonObject& object, const QString& where)
{
    using Colours = GameDescription::ColourDialect;
    using Lines = GameDescription::PlayerLineGrammar;
    GameDescription game;
    game.id = textOf(object, QStringLiteral("id"), where);
    checkId(game.id, where);
    game.name = textOf(object, QStringLiteral("name"), where);
    if (game.name.trimmed().isEmpty())
        fail(at(where, QStringLiteral("name")), QStringLiteral("expected the game's name"));
    game.iconLabel = textOf(object, QStringLiteral("label"), where, game.id);
    game.gameNames = textsOf(object, QStringLiteral("gameNames"), where, {});
    game.recognitionKeys = recognitionKeysOf(object, where);
    game.settingsPrefix = textOf(object, QStringLiteral("settingsPrefix"), where);
    game.masters = mastersOf(object, where);
    game.statusKeys = statusKeysOf(object, where);
    game.gametypes = gametypesOf(object, where);
    game.colours = choiceOf<Colours>(object, QStringLiteral("colours"), where,
                                     {{QStringLiteral("caret-digit"), Colours::CaretDigit},
                                      {QStringLiteral("darkplaces"), Colours::DarkPlaces}});
    game.playerLines = choiceOf<Lines>(object, QStringLiteral("playerLine"), where,
                                       {{QStringLiteral("cod"), Lines::Cod}, {QStringLiteral("darkplaces"), Lines::DarkPlaces}});
    game.statusEchoesChallenge = flagOf(object, QStringLiteral("statusChallenge"), where);
    game.defaultPorts = portsOf(object, where);
    game.launchers = textsOf(object, QStringLiteral("launchers"), where, {});
    game.joinArguments = textsOf(object, QStringLiteral("join"), where, {QStringLiteral("+connect"), QStringLiteral("{address}")});
    game.passwordArguments =
        textsOf(object, QStringLiteral("joinPassword"), where, {QStringLiteral("+password"), QStringLiteral("{password}")});
    game.admin = adminOf(object, where);
    return game;
}

// The file's list of game objects, each checked to be an object with an id.
QList<QJsonObject> gameObjectsOf(const QByteArray& json)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        throw Fault{QStringLiteral("not JSON at byte %1: %2").arg(parseError.offset).arg(parseError.errorString())};
    if (!document.isObject() || !document.object().value(QStringLiteral("games")).isArray())
        throw Fault{QStringLiteral("expected an object with a list \"games\"")};
    QList<QJsonObject> games;
    const QJsonArray array = document.object().value(QStringLiteral("games")).toArray();
    for (qsizetype i = 0; i < array.size(); ++i) {
        const QString where = QStringLiteral("games[%1]").arg(i);
        const QJsonObject game = objectOf(array.at(i), where);
        checkId(textOf(game, QStringLiteral("id"), where), where);
        games.append(game);
    }
    return games;
}

// The user's games laid over the built-in ones, key by key, matched by id.
QList<QJsonObject> mergedObjects(QList<QJsonObject> games, const QList<QJsonObject>& userGames)
{
    for (const QJsonObject& userGame : userGames) {
        const QString id = userGame.value(QStringLiteral("id")).toString();
        auto same = std::find_if(games.begin(), games.end(),
                                 [&id](const QJsonObject& game) { return game.value(QStringLiteral("id")).toString() == id; });
        if (same == games.end()) {
            games.append(userGame);
            continue;
        }
        for (auto it = userGame.constBegin(); it != userGame.constEnd(); ++it)
            same->insert(it.key(), it.value());
    }
    return games;
}

QList<GameDescription> descriptionsOf(const QList<QJsonObject>& objects)
{
    QList<GameDescription> games;
    QSet<QString> ids;
    for (const QJsonObject& object : objects) {
        const QString where = QStringLiteral("game \"%1\"").arg(object.value(QStringLiteral("id")).toString());
        GameDescription game = gameOf(object, where);
        if (ids.contains(game.id))
            fail(where, QStringLiteral("the id is given twice"));
        ids.insert(game.id);
        games.append(std::move(game));
    }
    return games;
}

}  // namespace

GameCatalogueReader::Result GameCatalogueReader::read(const QByteArray& json)
{
    try {
        return {descriptionsOf(gameObjectsOf(json)), {}};
    } catch (const Fault& fault) {
        return {{}, fault.text};
    }
}

GameCatalogueReader::Masters GameCatalogueReader::readMasters(const QByteArray& json)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isArray())
        return {{}, QStringLiteral("expected a list of masters")};
    try {
        return {mastersOf(QJsonObject{{QStringLiteral("masters"), document.array()}}, {}), {}};
    } catch (const Fault& fault) {
        return {{}, fault.text};
    }
}

QByteArray GameCatalogueReader::jsonOf(const QList<MasterDescription>& masters)
{
    QJsonArray array;
    for (const MasterDescription& master : masters) {
        QJsonArray protocols;
        for (int protocol : master.protocols)
            protocols.append(protocol);
        array.append(QJsonObject{
            {QStringLiteral("host"), master.host},
            {QStringLiteral("port"), master.port},
            {QStringLiteral("transport"), wordIn(transportWords(), master.transport)},
            {QStringLiteral("request"), master.request},
            {QStringLiteral("gameName"), master.gameName},
            {QStringLiteral("protocols"), protocols},
            {QStringLiteral("keywords"), master.keywords},
            {QStringLiteral("entryPrefix"), QString::fromLatin1(master.entryPrefix.toHex())},
            {QStringLiteral("listEnd"), wordIn(listEndWords(), master.listEnd)},
        });
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

GameCatalogueReader::Result GameCatalogueReader::readMerged(const QByteArray& builtInJson, const QByteArray& userJson)
{
    try {
        return {descriptionsOf(mergedObjects(gameObjectsOf(builtInJson), gameObjectsOf(userJson))), {}};
    } catch (const Fault& fault) {
        return {{}, fault.text};
    }
}
