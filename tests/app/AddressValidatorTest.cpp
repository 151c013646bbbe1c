#include "app/AddressValidator.h"

#include <QList>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

const QString noPort = QStringLiteral("No port specified");
const QString badPort = QStringLiteral("Bad argument in the port number");
const QString missingPart = QStringLiteral("Missing argument(s) in the ip adress");
const QString badPart = QStringLiteral("Bad argument(s) in the ip adress");

}  // namespace

TEST(AddressValidator, tellsTheFirstProblemOfAnAddress)
{
    const QList<std::pair<QString, QString>> refused = {
        {"xxx.xxx.xxx.xxx:xxxxx", badPort},
        {"", noPort},
        {"192.168.0.1", noPort},
        {"192.168.0.1:0", badPort},
        {"192.168.0.1:65536", badPort},
        {"192.168.0.1:-28960", badPort},
        {"192.168.0.1:99999999999999999999", badPort},
        {"192.168.0.1:", badPort},
        {"192.168.1:28960", missingPart},
        {"localhost:28960", missingPart},
        {"192.168.0.256:28960", badPart},
        {"-1.0.0.0:28960", badPart},
        {"1.2.3.4444:0", badPort},
        {"1.2.3:0", badPort},
    };
    for (const auto& [address, message] : refused)
        EXPECT_EQ(AddressValidator::problemWith(address), message) << address.toStdString();
}

TEST(AddressValidator, readsEachNumberByItsLeadingDigitsAndIgnoresExtraPieces)
{
    const QStringList accepted = {
        "192.168.0.1:65535", "0.0.0.0:1", "1.2.3.4.5:28960", "1.2.3.4:28960:7",
        "1.2.3.4:28960x",     " 1.2.3.4: 28960", "a.b.c.d:28960", "10.0.0.1:028960",
        "1.2.3.4.999:28960",
    };
    for (const QString& address : accepted)
        EXPECT_TRUE(AddressValidator::isValid(address)) << address.toStdString();
}
