#include "net/ScanSocket.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <netinet/in.h>
#include <poll.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Binds the socket to a free loopback port, as its first send would, and gives it.
ServerAddress boundAddress(const ScanSocket& socket)
{
    sockaddr_in bound{};
    bound.sin_family = AF_INET;
    bound.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof bound;
    ::bind(socket.fileDescriptor(), reinterpret_cast<const sockaddr*>(&bound), length);
    ::getsockname(socket.fileDescriptor(), reinterpret_cast<sockaddr*>(&bound), &length);
    return {INADDR_LOOPBACK, ntohs(bound.sin_port)};
}

void waitUntilReadable(const ScanSocket& socket)
{
    pollfd readable{socket.fileDescriptor(), POLLIN, 0};
    while (::poll(&readable, 1, -1) != 1) {
    }
}


// One datagram sent to the receiver, left waiting in it while the loop is busy
// elsewhere, then read: the time the socket gave it, and when the receiver had it.
struct Waited {
    Clock::time_point sendingFrom;
    Clock::time_point readableAt;
    std::optional<Clock::time_point> arrival;
    QByteArray datagram;
};

Waited sendAndLetWait(ScanSocket& sender, ScanSocket& receiver, ServerAddress to)
{
    Waited waited;
    waited.sendingFrom = Clock::now();
    EXPECT_TRUE(sender.sendTo(to, QByteArray(4, '\xff') + "statusResponse\n"));
    waitUntilReadable(receiver);
    waited.readableAt = Clock::now();
    std::this_thread::sleep_for(50ms);
    receiver.receive(16, [&waited](ServerAddress, QByteArrayView datagram, Clock::time_point at) {
        waited.datagram = datagram.toByteArray();
        waited.arrival = at;
    });
    return waited;
}

}  // namespace

// The ping of an answer ends when the kernel received it: a datagram that waited in
// the socket while the scan's loop was busy elsewhere keeps its own arrival time, not
// the time the loop read it, on the steady clock that the sends use. The kernel turns
// its time-stamping on a moment after the first socket asks for it, so the datagrams
// of that moment may be stamped when read: the test sends until one came after it.
TEST(ScanSocketTest, aDatagramThatWaitedInTheSocketKeepsTheKernelsReceiveTime)
{
    ScanSocket receiver(1400);
    ScanSocket sender(1400);
    ASSERT_TRUE(receiver.isOpen() && sender.isOpen());
    const ServerAddress to = boundAddress(receiver);
    // A few milliseconds of leeway for the clocks' conversion; the wait is far longer.
    const auto stampedOnArrival = [](const Waited& waited) { return waited.arrival <= waited.readableAt + 5ms; };
    Waited waited = sendAndLetWait(sender, receiver, to);
    for (int attempt = 0; attempt < 20 && !stampedOnArrival(waited); ++attempt)
        waited = sendAndLetWait(sender, receiver, to);

    ASSERT_TRUE(waited.arrival);
    EXPECT_EQ(waited.datagram, QByteArray(4, '\xff') + "statusResponse\n");
    EXPECT_TRUE(stampedOnArrival(waited)) << "read "
                                         << std::chrono::duration<double, std::milli>(*waited.arrival - waited.readableAt).count()
                                         << " ms after the socket had it";
    EXPECT_GE(*waited.arrival, waited.sendingFrom - 5ms);
}

// A datagram longer than the socket reads is cut to that size and counted.
TEST(ScanSocketTest, aDatagramLongerThanTheSizeReadIsCutAndCounted)
{
    ScanSocket receiver(64);
    ScanSocket sender(1400);
    ASSERT_TRUE(sender.sendTo(boundAddress(receiver), QByteArray(200, 'x')));
    waitUntilReadable(receiver);
    qsizetype size = 0;
    receiver.receive(16, [&size](ServerAddress, QByteArrayView datagram, Clock::time_point) { size = datagram.size(); });
    EXPECT_EQ(size, 64);
    EXPECT_EQ(receiver.takeCutCount(), 1);
    EXPECT_EQ(receiver.takeCutCount(), 0);
}
