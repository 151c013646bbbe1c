#include "net/ConsoleStatusListing.h"

#include <gtest/gtest.h>

namespace {

// An OpenArena listing as the transport returns it: the names padded, then "^7" and
// the address, which is "bot" for bots.
const QString openArenaListing = QStringLiteral(
    "\xff\xff\xff\xffprint\nmap: oa_dm1\n"
    "cl score ping name            address                                 rate \n"
    "-- ----- ---- --------------- --------------------------------------- -----\n"
    " 0     4    0 Sarge           ^7bot                                   16384\n"
    " 1    -1    0 ^1Gr^7ism       ^7bot                                   16384\n"
    "10     0   33 0               ^7127.0.0.1:27961                       25000\n"
    "\n");

// What the lookup of the name in the listing finds, told as text.
std::string lookupOf(const QString& name)
{
    const ConsoleStatusListing::Lookup lookup = ConsoleStatusListing::slotOfPlayer(openArenaListing, name);
    switch (lookup.outcome) {
    case ConsoleStatusListing::Found: return "slot " + std::to_string(lookup.slot);
    case ConsoleStatusListing::NotListed: return "not listed";
    case ConsoleStatusListing::SeveralPlayers: return "several players";
    case ConsoleStatusListing::NotAListing: break;
    }
    return "not a listing";
}

}  // namespace

TEST(ConsoleStatusListingTest, aPlayerIsFoundByTheWholeNameFieldOfItsRowOnly)
{
    EXPECT_EQ(lookupOf("Sarge"), "slot 0");
    EXPECT_EQ(lookupOf("^1Gr^7ism"), "slot 1");
    EXPECT_EQ(lookupOf("Grism"), "not listed") << "the listing shows the colour codes";
    EXPECT_EQ(lookupOf("Sarg"), "not listed");
    EXPECT_EQ(lookupOf("bot"), "not listed");
    EXPECT_EQ(lookupOf("name"), "not listed") << "a column title is no player";
    EXPECT_EQ(lookupOf(""), "not listed");
    EXPECT_EQ(lookupOf("0"), "several players") << "scores and pings are fields too";

    const QString error = QStringLiteral("Error: Unable to receive server response");
    EXPECT_EQ(ConsoleStatusListing::slotOfPlayer(error, error).outcome, ConsoleStatusListing::NotAListing);
}
