#pragma once

#include <QString>

#include <memory>
#include <mutex>

// One player line of a status answer. Every field is text, exactly as received.
// Fields may be read on one thread while another writes them: each read returns a
// copy taken under the record's own lock.
class CodPlayer {
public:
    CodPlayer();

    QString playerNumber() const;
    QString playerName() const;
    QString playerPing() const;
    QString playerScore() const;
    QString colouredName() const;

    void setPlayerNumber(const QString& value);
    void setPlayerName(const QString& value);
    void setPlayerPing(const QString& value);
    void setPlayerScore(const QString& value);
    void setColouredName(const QString& value);

private:
    QString read(const QString& field) const;
    void write(QString& field, const QString& value);

    mutable std::mutex fieldsLock;
    QString m_playerNumber;
    QString m_playerName;
    QString m_playerPing;
    QString m_playerScore;
    QString m_colouredName;
};

using CodPlayerPtr = std::shared_ptr<CodPlayer>;
