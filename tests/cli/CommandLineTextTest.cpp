#include "cli/AddressArgument.h"
#include "cli/JsonObject.h"
#include "cli/MetricsText.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

TEST(JsonObjectTest, membersKeepTheirOrderAndEveryTextIsEscapedToValidUtf8)
{
    const QString awkward = QString::fromUtf16(u"q\"b\\s\n\t\x01\x7f\u00e9\U0001F600") + QChar(0xD800) + u'x';
    const QByteArray json = JsonObject()
                                .addText("z", awkward)
                                .addText("a", std::nullopt)
                                .addInteger("n", -3)
                                .addBoolean("b", false)
                                .addReal("r", 1.5)
                                .addJson("l", JsonObject::array({"1", "2"}))
                                .json();

    EXPECT_EQ(json, "{\"z\": \"q\\\"b\\\\s\\n\\t\\u0001\\u007f\xc3\xa9\xf0\x9f\x98\x80\xef\xbf\xbdx\", \"a\": null, "
                    "\"n\": -3, \"b\": false, \"r\": 1.500, \"l\": [1, 2]}");
    EXPECT_TRUE(QUtf8StringView(json).isValidUtf8());
    const QJsonObject parsed = QJsonDocument::fromJson(json).object();
    EXPECT_EQ(parsed["z"].toString(), awkward.left(awkward.size() - 2) + QChar::ReplacementCharacter + u'x');
}

TEST(AddressArgumentTest, dottedAddressesAndHostNamesWithAPortAreTakenAndTheRestIsRefusedWithAReason)
{
    using Schemes = AddressArgument::Schemes;
    const auto take = [](const QString& text, Schemes schemes = Schemes::Refused) {
        return std::get<AddressArgument>(AddressArgument::parse(text, schemes));
    };
    EXPECT_TRUE(take("10.0.0.010:28960").dotted);
    EXPECT_EQ(take("10.0.0.010:28960").resolve()->text(), "10.0.0.10:28960");
    EXPECT_EQ(take("master.example.org:020810").port, 20810);
    EXPECT_FALSE(take("master.example.org:20810").dotted);
    EXPECT_EQ(take("TCP://127.0.0.1:5", Schemes::Allowed).transport, AddressArgument::Transport::Tcp);
    EXPECT_EQ(take("udp://127.0.0.1:5", Schemes::Allowed).transport, AddressArgument::Transport::Udp);

    const QList<std::pair<QString, QString>> refused = {
        {"10.0.0.1", "\"10.0.0.1\" has no port: write HOST:PORT"},
        {":28960", "no host before the port"},
        {"10.0.0.1:0", "the port of \"10.0.0.1:0\" is not a number from 1 to 65535"},
        {"10.0.0.1:65536", "the port of \"10.0.0.1:65536\" is not a number from 1 to 65535"},
        {"10.0.0.1:+5", "the port of \"10.0.0.1:+5\" is not a number from 1 to 65535"},
        {"10.0.0.300:5", "\"10.0.0.300\" is no IPv4 address"},
        {"[::1]:5", "\"[::1]\" is no IPv4 address or host name"},
        {"udp://10.0.0.1:5", "\"udp://10.0.0.1\" is no IPv4 address or host name"},
        {"a b:5", "\"a b\" is no IPv4 address or host name"},
        {QString(300, u'a') + ":5", QString("\"%1\" is no IPv4 address or host name").arg(QString(300, u'a'))},
    };
    for (const auto& [text, reason] : refused) {
        const auto parsed = AddressArgument::parse(text, Schemes::Refused);
        ASSERT_TRUE(std::holds_alternative<QString>(parsed)) << text.toStdString();
        EXPECT_EQ(std::get<QString>(parsed), reason);
    }
}

TEST(MetricsTextTest, aLabelValueEscapesWhatTheFormatAsksAndKeepsTheRest)
{
    EXPECT_EQ(MetricsText::labelValue(QString::fromUtf16(u"a\"b\\c\nd\u00e9")), "\"a\\\"b\\\\c\\nd\xc3\xa9\"");
}
