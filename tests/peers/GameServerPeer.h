#pragma once

#include "peers/UdpPeer.h"

#include <QHash>
#include <QString>

// A Quake-3-style game server for tests. It answers "getstatus" with the configured
// status datagram, "getinfo" with "infoResponse" and the configured text (when one is
// set), and "rcon <password> <command>" with the datagrams configured for that
// command, "Bad rconpassword." when the password is wrong, and nothing when the
// command is unknown or the server is set silent.
class GameServerPeer : public UdpPeer {
public:
    GameServerPeer();
    // On the given port of 127.0.0.1; throws when it is taken.
    explicit GameServerPeer(quint16 requestedPort);
    ~GameServerPeer() override;

    // "\xff\xff\xff\xffprint\n" followed by the text: how a server prints console output.
    static QByteArray printDatagram(const QByteArray& text);
    // "\xff\xff\xff\xffstatusResponse\n" followed by the text.
    static QByteArray statusDatagram(const QByteArray& text);

    void setRconPassword(const QByteArray& password);
    void setStatusAnswer(const QList<QByteArray>& datagrams);
    void setRconAnswer(const QByteArray& command, const QList<QByteArray>& datagrams);
    void setInfoAnswer(const QByteArray& text);
    void setSilent(bool silent);

protected:
    QList<QByteArray> answerTo(const QByteArray& request) override;

private:
    QList<QByteArray> answerToRcon(const QByteArray& passwordAndCommand) const;

    mutable std::mutex configLock;
    QByteArray rconPassword;
    QList<QByteArray> statusAnswer;
    QByteArray infoAnswer;
    QHash<QByteArray, QList<QByteArray>> rconAnswers;
    bool silent = false;
};
