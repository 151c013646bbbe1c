#include "app/AddressValidator.h"

#include <QList>

#include <gtest/gtest.h>

TEST(AddressValidator, tellsTheFirstProblemOfAnAddressAndReadsNumbersByTheirLeadingDigits)
{
    const QString badPort = QStringLiteral("Bad argument in the port number");
    const QList<std::pair<QString, QString>> refused = {
        {"", "No port specified"},
        {"192.168.0.1", "No port specified"},
        {"xxx.xxx.xxx.xxx:xxxxx", badPort},
        {"192.168.0.1:0", badPort},
        {"192.168.0.1:65536", badPort},
        {"192.168.0.1:-28960", badPort},
        {"192.168.0.1:99999999999999999999", badPort},
        {"1.2.3:0", badPort},
        {"192.168.1:28960", "Missing argument(s) in the ip adress"},
        {"localhost:28960", "Missing argument(s) in the ip adress"},
        {"192.168.0.256:28960", "Bad argument(s) in the ip adress"},
        {"-1.0.0.0:28960", "Bad argument(s) in the ip adress"},
    };
    for (const auto& [address, message] : refused)
        EXPECT_EQ(AddressValidator::problemWith(address), message) << address.toStdString();

    for (const char* accepted : {"192.168.0.1:65535", "0.0.0.0:1", "1.2.3.4.5:28960", "1.2.3.4:28960:7",
                                 "1.2.3.4:28960x", " 1.2.3.4: 28960", "a.b.c.d:28960", "10.0.0.1:028960"})
        EXPECT_TRUE(AddressValidator::isValid(accepted)) << accepted;
}
