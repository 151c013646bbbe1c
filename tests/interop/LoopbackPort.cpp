#include "LoopbackPort.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

quint16 freeLoopbackPort()
{
    const int probe = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof local;
    ::bind(probe, reinterpret_cast<sockaddr*>(&local), sizeof local);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&local), &length);
    ::close(probe);
    return ntohs(local.sin_port);
}
