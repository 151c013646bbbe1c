#include "model/CodPlayer.h"

CodPlayer::CodPlayer()
    : m_playerNumber(QStringLiteral("0")),
      m_playerPing(QStringLiteral("999")),
      m_playerScore(QStringLiteral("0"))
{
}

QString CodPlayer::read(const QString& field) const
{
    std::lock_guard guard(fieldsLock);
    return field;
}

void CodPlayer::write(QString& field, const QString& value)
{
    std::lock_guard guard(fieldsLock);
    field = value;
}

QString CodPlayer::playerNumber() const { return read(m_playerNumber); }
QString CodPlayer::playerName() const { return read(m_playerName); }
QString CodPlayer::playerPing() const { return read(m_playerPing); }
QString CodPlayer::playerScore() const { return read(m_playerScore); }
QString CodPlayer::colouredName() const { return read(m_colouredName); }

void CodPlayer::setPlayerNumber(const QString& value) { write(m_playerNumber, value); }
void CodPlayer::setPlayerName(const QString& value) { write(m_playerName, value); }
void CodPlayer::setPlayerPing(const QString& value) { write(m_playerPing, value); }
void CodPlayer::setPlayerScore(const QString& value) { write(m_playerScore, value); }
void CodPlayer::setColouredName(const QString& value) { write(m_colouredName, value); }
