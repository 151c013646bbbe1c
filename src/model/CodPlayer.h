#pragma once

#include <QString>

#include <memory>

// One player line of a status answer. Every field is text, exactly as received.
// A record never changes once made, so threads share it without a lock; a refresh
// installs new records.
class CodPlayer {
public:
    // A field left out reads as player 0, without a name, with a score of 0 and a
    // ping of 999.
    struct Fields {
        QString number = QStringLiteral("0");
        QString name{};
        QString ping = QStringLiteral("999");
        QString score = QStringLiteral("0");
        QString colouredName{};
        // The team's number where the server tells it, else empty.
        QString team{};
    };

    CodPlayer();
    explicit CodPlayer(Fields fields);

    QString playerNumber() const { return fields.number; }
    QString playerName() const { return fields.name; }
    QString playerPing() const { return fields.ping; }
    QString playerScore() const { return fields.score; }
    QString colouredName() const { return fields.colouredName; }
    QString playerTeam() const { return fields.team; }

private:
    const Fields fields;
};

using CodPlayerPtr = std::shared_ptr<const CodPlayer>;
