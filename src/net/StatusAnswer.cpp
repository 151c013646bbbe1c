#include "net/StatusAnswer.h"

#include "model/CodServer.h"
#include "model/GameCatalogue.h"
#include "model/NumberTexts.h"
#include "model/RuleKeys.h"
#include "net/QuakeProtocol.h"

#include <algorithm>

namespace {

struct FieldKey {
    QLatin1StringView key;
    StatusAnswer::Field field;
};

// Applied in this order: a later key that is present overwrites what an earlier one
// gave the same field.
constexpr FieldKey fieldKeys[] = {
    {QLatin1StringView("Admin"), StatusAnswer::Admin},
    {QLatin1StringView(".Admin"), StatusAnswer::Admin},
    {QLatin1StringView("_Admin"), StatusAnswer::Admin},
    {QLatin1StringView("Email"), StatusAnswer::Email},
    {QLatin1StringView(".Email"), StatusAnswer::Email},
    {QLatin1StringView("_Email"), StatusAnswer::Email},
    {QLatin1StringView("Location"), StatusAnswer::Location},
    {QLatin1StringView(".Location"), StatusAnswer::Location},
    {QLatin1StringView("Website"), StatusAnswer::WebSite},
    {QLatin1StringView(".Website"), StatusAnswer::WebSite},
    {QLatin1StringView("_URL"), StatusAnswer::WebSite},
    {QLatin1StringView("g_gametype"), StatusAnswer::Gametype},
    {QLatin1StringView("gamename"), StatusAnswer::GameName},
    {QLatin1StringView("mapname"), StatusAnswer::MapName},
    {QLatin1StringView("scr_friendlyfire"), StatusAnswer::FriendlyFire},
    {QLatin1StringView("scr_killcam"), StatusAnswer::KillCam},
    // Servers that send no short version (ioquake3's) send their whole version.
    {QLatin1StringView("version"), StatusAnswer::ShortVersion},
    {QLatin1StringView("shortversion"), StatusAnswer::ShortVersion},
    {QLatin1StringView("protocol"), StatusAnswer::Protocol},
    // DarkPlaces servers name themselves by "hostname" alone.
    {QLatin1StringView("hostname"), StatusAnswer::HostName},
    {QLatin1StringView("sv_hostname"), StatusAnswer::HostName},
    {QLatin1StringView("sv_maxclients"), StatusAnswer::MaxClients},
    {QLatin1StringView("sv_maxClients"), StatusAnswer::MaxClients},
    {QLatin1StringView("sv_punkbuster"), StatusAnswer::PunkBuster},
    {QLatin1StringView("sv_pure"), StatusAnswer::Pure},
    {QLatin1StringView("pswrd"), StatusAnswer::PassActive},
    {QLatin1StringView("g_needpass"), StatusAnswer::PassActive},
};

// The piece after a key up to its first newline: only the last value is followed
// by more lines (the players), and no reader wants those in a field.
QString valueIn(const QString& piece)
{
    return piece.left(piece.indexOf(u'\n'));
}

// An answer as long as the receive buffer may have been longer: its end is lost.
bool fillsReceiveBuffer(const QString& answer)
{
    return static_cast<std::size_t>(answer.size()) >= QuakeProtocol::receiveBufferBytes;
}

}  // namespace

// DarkPlaces servers playing in teams give each player's team number after the ping;
// some builds put it after the name instead.
QString StatusAnswer::teamOf(const QStringList& numbers, const QString& afterName) const
{
    if (playerLines != GameDescription::PlayerLineGrammar::DarkPlaces)
        return {};
    if (numbers.size() > 2 && !numbers.at(2).isEmpty())
        return NumberTexts::shared(numbers.at(2));
    const QString trailing = afterName.trimmed();
    const bool isNumber =
        !trailing.isEmpty() && std::all_of(trailing.cbegin(), trailing.cend(), [](QChar c) { return c.isDigit(); });
    return isNumber ? NumberTexts::shared(trailing) : QString();
}

StatusAnswer StatusAnswer::parse(const QString& answer)
{
    StatusAnswer parsed;
    const QStringList pieces = answer.split(u'\\');
    parsed.readKeys(pieces);
    parsed.readRules(pieces);
    parsed.readGame();
    parsed.readPlayerLines(pieces.last(), fillsReceiveBuffer(answer));
    return parsed;
}

std::optional<QString> StatusAnswer::value(Field field) const
{
    const auto found = values.constFind(field);
    return found == values.cend() ? std::nullopt : std::optional<QString>(*found);
}

// Each key takes the piece after its first occurrence among all the pieces, values
// included; a key that is the very last piece has no value.
void StatusAnswer::readKeys(const QStringList& pieces)
{
    for (const FieldKey& each : fieldKeys) {
        const qsizetype at = pieces.indexOf(each.key);
        if (at >= 0 && at + 1 < pieces.size())
            values.insert(each.field, NumberTexts::shared(valueIn(pieces.at(at + 1))));
    }
}

// The game's dialect and player-line grammar, from the catalogue: the host name loses
// its colour codes by it.
void StatusAnswer::readGame()
{
    if (const GameDescription* game = GameCatalogue::standard().gameOf(values.value(GameName), m_rules)) {
        dialect = game->colours;
        playerLines = game->playerLines;
    }
    if (values.contains(HostName))
        values[HostName] = CodServer::clearColoredName(values.value(HostName), dialect);
}

// The pieces after the header alternate key and value.
void StatusAnswer::readRules(const QStringList& pieces)
{
    // A scan keeps every server's rules: the list takes no more room than its pairs,
    // and the keys and small numbers every server sends are shared.
    m_rules.reserve((pieces.size() - 1) / 2);
    for (qsizetype key = 1; key + 1 < pieces.size(); key += 2)
        m_rules.append({RuleKeys::shared(pieces.at(key)), NumberTexts::shared(valueIn(pieces.at(key + 1)))});
}

// The last piece is the last value, then one line per player. A line with a double
// quote counts as a player even when it lacks a score or a ping and is dropped. The
// last line of an answer cut by the receive buffer is cut too, so it is left out.
void StatusAnswer::readPlayerLines(const QString& lastPiece, bool lastLineCut)
{
    const QStringList lines = lastPiece.split(u'\n');
    const qsizetype wholeLines = lastLineCut ? lines.size() - 1 : lines.size();
    // Sized once: the list stays in the record as long as the record lives.
    m_players.reserve(lines.size() - 1);
    int count = 0;
    for (qsizetype i = 1; i < wholeLines; ++i) {
        const QStringList parts = lines.at(i).split(u'"');
        if (parts.size() < 2)
            continue;
        const QString number = QString::number(count++);
        const QStringList numbers = parts.at(0).split(u' ');
        if (numbers.size() < 2)
            continue;
        m_players.append(std::make_shared<const CodPlayer>(CodPlayer::Fields{
            .number = NumberTexts::shared(number),
            .name = CodServer::clearColoredName(parts.at(1), dialect),
            .ping = NumberTexts::shared(numbers.at(1)),
            .score = NumberTexts::shared(numbers.at(0)),
            .colouredName = parts.at(1),
            .team = teamOf(numbers, parts.size() > 2 ? parts.last() : QString()),
        }));
    }
}
