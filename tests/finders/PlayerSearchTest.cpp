#include "FinderRecords.h"
#include "finders/PlayerSearch.h"

#include <gtest/gtest.h>

// Each hand-over of grown lists must give what a search over the whole lists gives,
// while going over the appended servers only; anything else starts afresh.
TEST(PlayerSearchTest, aSearchOfGrownListsMatchesAWholeSearchAndStartsAfreshWhenItCannotReuse)
{
    const CodServerPtr cod = serverWithPlayers({}, {"zorro cod"});
    const CodServerPtr first = serverWithPlayers({}, {"Zorro one", "nobody"});
    const CodServerPtr second = serverWithPlayers({}, {"zorro two"});
    PlayerSearch search;
    PlayerSearch::GameLists lists{{cod}, {}, {}, {first}};
    EXPECT_EQ(namesFound(search.resultsFor("zorro", lists)), QStringList({"zorro cod", "Zorro one"}));

    // The searched servers' players change behind the search's back: only a server
    // appended since is searched, so the change shows once the search forgets.
    first->setServerPlayers({finderPlayer("zorro renamed")});
    lists[3].append(second);
    EXPECT_EQ(namesFound(search.resultsFor("zorro", lists)), QStringList({"zorro cod", "Zorro one", "zorro two"}));
    search.forget();
    EXPECT_EQ(namesFound(search.resultsFor("zorro", lists)),
              QStringList({"zorro cod", "zorro renamed", "zorro two"}));

    // Another text, a new scan's records and an emptied list are searched whole.
    EXPECT_EQ(namesFound(search.resultsFor("two", lists)), QStringList({"zorro two"}));
    lists[3] = {serverWithPlayers({}, {"two again"})};
    EXPECT_EQ(namesFound(search.resultsFor("two", lists)), QStringList({"two again"}));
    lists[3].clear();
    EXPECT_TRUE(search.resultsFor("two", lists).isEmpty());
}
