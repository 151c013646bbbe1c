#include "model/GameCatalogue.h"

#include "model/GameCatalogueReader.h"
#include "model/GameKind.h"
#include "platform/Preferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtDebug>

namespace {

// A user's file larger than this is not a catalogue: it is refused unread.
constexpr qint64 largestUserFileBytes = 4 * 1024 * 1024;

bool keysRecognise(const QList<std::pair<QString, QString>>& keys, const ServerRules& rules)
{
    if (keys.isEmpty())
        return false;
    return std::all_of(keys.cbegin(), keys.cend(), [&rules](const std::pair<QString, QString>& wanted) {
        return std::any_of(rules.cbegin(), rules.cend(), [&wanted](const std::pair<QString, QString>& rule) {
            return rule.first == wanted.first && (wanted.second.isEmpty() || rule.second == wanted.second);
        });
    });
}

// The user's file's bytes, or what keeps them from being read.
std::pair<QByteArray, QString> userFileBytes(const QString& path)
{
    QFile file(path);
    if (file.size() > largestUserFileBytes)
        return {{}, QStringLiteral("larger than %1 bytes").arg(largestUserFileBytes)};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    return {file.read(largestUserFileBytes), {}};
}

}  // namespace

GameCatalogue::GameCatalogue(QList<GameDescription> games, QString userFileProblem)
    : m_games(std::move(games))
    , m_userFileProblem(std::move(userFileProblem))
{
}

const GameCatalogue& GameCatalogue::standard()
{
    static const GameCatalogue catalogue = load(userFilePath());
    return catalogue;
}

QByteArray GameCatalogue::builtInJson()
{
    Q_INIT_RESOURCE(games);
    QFile file(QStringLiteral(":/catalogue/games.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString GameCatalogue::userFilePath()
{
    return QFileInfo(Preferences::standard().filePath()).dir().filePath(QStringLiteral("games.json"));
}

GameCatalogue GameCatalogue::load(const QString& userFilePath)
{
    const QByteArray builtIn = builtInJson();
    GameCatalogueReader::Result builtInGames = GameCatalogueReader::read(builtIn);
    Q_ASSERT(builtInGames.error.isEmpty());
    if (!QFileInfo::exists(userFilePath))
        return {builtInGames.games, {}};
    auto [bytes, unreadable] = userFileBytes(userFilePath);
    GameCatalogueReader::Result merged =
        unreadable.isEmpty() ? GameCatalogueReader::readMerged(builtIn, bytes) : GameCatalogueReader::Result{{}, unreadable};
    if (merged.error.isEmpty())
        return {merged.games, {}};
    const QString problem =
        QStringLiteral("%1 was left aside, the built-in games are used: %2").arg(userFilePath, merged.error);
    qWarning().noquote() << problem;
    return {builtInGames.games, problem};
}

const GameDescription* GameCatalogue::find(const QString& id) const
{
    for (const GameDescription& game : m_games) {
        if (game.id == id)
            return &game;
    }
    return nullptr;
}

const GameDescription* GameCatalogue::gameOf(const QString& serverGameName, const ServerRules& rules) const
{
    const GameKind kind = gameKindOf(serverGameName);
    if (kind != GameKind::Unknown)
        return find(gameIdOf(kind));
    for (const GameDescription& game : m_games) {
        if (game.gameNames.contains(serverGameName))
            return &game;
    }
    for (const GameDescription& game : m_games) {
        if (keysRecognise(game.recognitionKeys, rules))
            return &game;
    }
    return nullptr;
}
