#include "net/ServerAddress.h"

#include <gtest/gtest.h>

// Leading zeros read as decimal, as the address check reads them: the C library's
// octal reading would send "10.0.0.010" to 10.0.0.8.
TEST(ServerAddressTest, aDottedDecimalAddressIsFourDecimalBytesAndNothingElse)
{
    const std::pair<const char*, std::optional<quint32>> rows[] = {
        {"10.0.0.010", 0x0A00000A}, {"010.000.000.009", 0x0A000009}, {"255.255.255.255", 0xFFFFFFFF},
        {"0.0.0.0", 0},             {"256.0.0.1", std::nullopt},     {"1.2.3", std::nullopt},
        {"1.2.3.4.5", std::nullopt}, {"1..3.4", std::nullopt},       {"1.2.3.4 ", std::nullopt},
        {"0x1.2.3.4", std::nullopt}, {"127.1", std::nullopt},        {"", std::nullopt},
    };
    for (const auto& [text, ip] : rows)
        EXPECT_EQ(ServerAddress::ipOfDottedDecimal(QString::fromLatin1(text)), ip) << text;
}
