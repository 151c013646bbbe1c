#include "admin/ChosenPlayer.h"

#include <algorithm>

void ChosenPlayer::choose(const CodServerPtr& server, const CodPlayerPtr& player)
{
    if (!server || !player) {
        forget();
        return;
    }
    m_server = server;
    m_colouredName = player->colouredName();
}

void ChosenPlayer::forget()
{
    m_server.reset();
    m_colouredName.clear();
}

int ChosenPlayer::rowIn(const CodServerPtr& server, const QList<CodPlayerPtr>& players) const
{
    if (!server || m_server.lock() != server)
        return -1;
    const auto chosen = std::find_if(players.cbegin(), players.cend(), [this](const CodPlayerPtr& player) {
        return player->colouredName() == m_colouredName;
    });
    return chosen == players.cend() ? -1 : int(chosen - players.cbegin());
}
