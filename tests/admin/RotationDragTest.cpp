#include "MapForRotationPrinter.h"

#include "admin/RotationDrag.h"

#include <gtest/gtest.h>

namespace {

const MapForRotation a("mp_a", "sd");
const MapForRotation b("mp_b", "tdm");
const MapForRotation c("mp_c", "dm");

// The rotation a, b, c after dropping the entry of `sourceRow` at `row`.
QList<MapForRotation> afterDrop(int sourceRow, int row, bool move)
{
    QList<MapForRotation> rotation = {a, b, c};
    const MapForRotation dragged = sourceRow >= 0 ? rotation.at(sourceRow) : MapForRotation("mp_new", "ctf");
    EXPECT_TRUE(RotationDrag(dragged, sourceRow).dropInto(rotation, row, move));
    return rotation;
}

}  // namespace

TEST(RotationDragTest, travelsAsMapGametypeAndRow)
{
    EXPECT_EQ(RotationDrag(b, 1).text(), "mp_b tdm 1");
    EXPECT_EQ(RotationDrag(a, RotationDrag::fromAvailableMaps).text(), "mp_a sd -1");

    const std::optional<RotationDrag> read = RotationDrag::fromText("mp_c dm 12");
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->entry(), c);
    EXPECT_EQ(read->sourceRow(), 12);
    EXPECT_EQ(RotationDrag::fromText("mp_c dm -1")->sourceRow(), -1);

    for (const char* damaged : {"", "mp_c dm", "mp_c dm x", "mp c dm 1", "mp_c  dm 1"})
        EXPECT_FALSE(RotationDrag::fromText(damaged).has_value()) << damaged;
}

TEST(RotationDragTest, aMoveTakesTheEntryFromItsOldPlace)
{
    EXPECT_EQ(afterDrop(0, 3, true), QList({b, c, a}));
    EXPECT_EQ(afterDrop(2, 0, true), QList({c, a, b}));
    EXPECT_EQ(afterDrop(0, 2, true), QList({b, a, c}));
    EXPECT_EQ(afterDrop(0, -1, true), QList({b, c, a}));
    for (int row : {1, 2})
        EXPECT_EQ(afterDrop(1, row, true), QList({a, b, c})) << "onto its own place at " << row;
}

TEST(RotationDragTest, aCopyOrANewMapOnlyAdds)
{
    EXPECT_EQ(afterDrop(0, 2, false), QList({a, b, a, c}));
    EXPECT_EQ(afterDrop(2, 0, false), QList({c, a, b, c}));
    const MapForRotation fresh("mp_new", "ctf");
    EXPECT_EQ(afterDrop(RotationDrag::fromAvailableMaps, 1, false), QList({a, fresh, b, c}));
    EXPECT_EQ(afterDrop(RotationDrag::fromAvailableMaps, -1, false), QList({a, b, c, fresh}));
    EXPECT_EQ(afterDrop(RotationDrag::fromAvailableMaps, 9, false), QList({a, b, c, fresh}));
}

TEST(RotationDragTest, aMoveFromARowTheRotationLacksChangesNothing)
{
    QList<MapForRotation> rotation = {a, b};
    EXPECT_FALSE(RotationDrag(c, 2).dropInto(rotation, 0, true));
    EXPECT_FALSE(RotationDrag(c, -1).dropInto(rotation, 0, true));
    EXPECT_EQ(rotation, QList({a, b}));
}
