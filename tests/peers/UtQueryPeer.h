#pragma once

#include "peers/UdpPeer.h"

#include <QHash>

#include <utility>

// The query port of a UT2004 server for tests. Each request is answered with the
// datagrams configured for its query kind, one per request in turn, the last one
// repeating; a kind without datagrams is not answered. Answers are built with the
// static helpers, or are any bytes a test wants to try.
class UtQueryPeer : public UdpPeer {
public:
    struct Player {
        QByteArray name;
        qint32 ping = 0;
        qint32 score = 0;
    };
    using Rules = QList<std::pair<QByteArray, QByteArray>>;

    // On an ephemeral port.
    UtQueryPeer();
    // On the given port; throws when it is taken.
    explicit UtQueryPeer(quint16 port);
    ~UtQueryPeer() override;

    // A length byte counting the text and its terminating zero, the text, the zero.
    static QByteArray string(const QByteArray& text);
    static QByteArray int32(qint32 value);
    // Answers as a UT2004 server words them, each starting with its request.
    static QByteArray infoAnswer(const QByteArray& name, const QByteArray& map, const QByteArray& gametype,
                                 qint32 maxPlayers);
    static QByteArray rulesAnswer(const Rules& rules);
    static QByteArray playersAnswer(const QList<Player>& players);

    // The datagrams that answer a query kind (UtProtocol::QueryKind). The probe and
    // the information query send the same request and share their datagrams.
    void setAnswers(int kind, const QList<QByteArray>& datagrams);
    // Sends the answers from the other peer's socket, as a stranger would.
    void answerThrough(UdpPeer* other);

protected:
    QList<QByteArray> answerTo(const QByteArray& request) override;

private:
    std::mutex configLock;
    QHash<QByteArray, QList<QByteArray>> answers;
    QHash<QByteArray, int> answered;
    UdpPeer* relay = nullptr;
};
