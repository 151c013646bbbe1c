#include "app/AddressValidator.h"

#include <QList>

#include <gtest/gtest.h>

TEST(AddressValidator, tellsTheFirstProblemOfAnAddress)
{
    const QString badPort = QStringLiteral("Bad argument in the port number");
    const QString badAddress = QStringLiteral("Bad argument(s) in the ip adress");
    const QList<std::pair<QString, QString>> refused = {
        {"", "No port specified"},
        {"192.168.0.1", "No port specified"},
        {"xxx.xxx.xxx.xxx:xxxxx", badPort},
        {"192.168.0.1:0", badPort},
        {"192.168.0.1:65536", badPort},
        {"192.168.0.1:-28960", badPort},
        {"192.168.0.1:+28960", badPort},
        {"192.168.0.1:99999999999999999999", badPort},
        {"192.168.0.1:", badPort},
        {"1.2.3:0", badPort},
        {"-bad.example.org:28960", "Missing argument(s) in the ip adress"},
        {"a..b.org:28960", badAddress},
        {"game_server.org:28960", "Missing argument(s) in the ip adress"},
        {"192.168.1:28960", "Missing argument(s) in the ip adress"},
        {"192.168.0.256:28960", badAddress},
        {"-1.0.0.0:28960", badAddress},
        {"1..3.4:28960", badAddress},
        {"1.2.3.4.5:28960", badAddress},
        {QStringLiteral("1.2.3.\u0664:28960"), badAddress},
    };
    for (const auto& [address, message] : refused)
        EXPECT_EQ(AddressValidator::problemWith(address), message) << address.toStdString();

    for (const char* accepted : {"192.168.0.1:65535", "0.0.0.0:1", "255.255.255.255:28960", "10.0.0.01:0028960",
                                 "localhost:28960", "cod4.example.org:28960", "a.b.c.d:28960", "x-1.example:1"})
        EXPECT_TRUE(AddressValidator::isValid(accepted)) << accepted;
}
