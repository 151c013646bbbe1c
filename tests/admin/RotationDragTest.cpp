#include "admin/MapForRotation.h"
#include "admin/RotationDrag.h"

#include <gtest/gtest.h>

namespace {

const MapForRotation a("mp_a", "sd");
const MapForRotation b("mp_b", "tdm");
const MapForRotation c("mp_c", "dm");
const MapForRotation fresh("mp_new", "ctf");

// The rotation a, b, c after dropping the entry of `sourceRow` (a new map: -1) at `row`.
QList<MapForRotation> afterDrop(int sourceRow, int row, bool move)
{
    QList<MapForRotation> rotation = {a, b, c};
    const MapForRotation dragged = sourceRow >= 0 ? rotation.at(sourceRow) : fresh;
    EXPECT_TRUE(RotationDrag(dragged, sourceRow).dropInto(rotation, row, move));
    return rotation;
}

}  // namespace

TEST(RotationDragTest, travelsAsMapGametypeAndRowAndRefusesDamagedText)
{
    EXPECT_EQ(RotationDrag(a, RotationDrag::fromAvailableMaps).text(), "mp_a sd -1");
    const std::optional<RotationDrag> read = RotationDrag::fromText(RotationDrag(c, 12).text());
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->entry(), c);
    EXPECT_EQ(read->sourceRow(), 12);

    for (const char* damaged : {"", "mp_c dm", "mp_c dm x", "mp c dm 1", "mp_c  dm 1"})
        EXPECT_FALSE(RotationDrag::fromText(damaged).has_value()) << damaged;
}

TEST(RotationDragTest, aMoveTakesTheEntryFromItsOldPlaceAndACopyOrANewMapOnlyAdds)
{
    EXPECT_EQ(afterDrop(0, 3, true), QList({b, c, a}));
    EXPECT_EQ(afterDrop(2, 0, true), QList({c, a, b}));
    EXPECT_EQ(afterDrop(0, 2, true), QList({b, a, c}));
    EXPECT_EQ(afterDrop(0, -1, true), QList({b, c, a}));
    for (int row : {1, 2})
        EXPECT_EQ(afterDrop(1, row, true), QList({a, b, c})) << "onto its own place at " << row;

    EXPECT_EQ(afterDrop(2, 0, false), QList({c, a, b, c}));
    EXPECT_EQ(afterDrop(RotationDrag::fromAvailableMaps, 1, false), QList({a, fresh, b, c}));
    EXPECT_EQ(afterDrop(RotationDrag::fromAvailableMaps, 9, false), QList({a, b, c, fresh}));

    QList<MapForRotation> rotation = {a, b};
    EXPECT_FALSE(RotationDrag(c, 2).dropInto(rotation, 0, true)) << "a row the rotation lacks";
    EXPECT_FALSE(RotationDrag(c, -1).dropInto(rotation, 0, true));
    EXPECT_EQ(rotation, QList({a, b}));
}
