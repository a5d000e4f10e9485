#include "resources/CommandTable.h"

#include <gtest/gtest.h>

namespace {

struct Owner {
    int ran = 0;
    int lastCommand = 0;
    bool ready = false;
    bool on = false;
};

using Row = CCommandRow<Owner>;

const CCommandTable<Owner>& Table()
{
    static const CCommandTable<Owner> table = {
        {10, [](Owner& o, int c) { ++o.ran, o.lastCommand = c; }, Row::Always},
        {20, 29, [](Owner& o, int c) { o.lastCommand = c; }, [](Owner& o, int c) { return o.ready && c != 25; }},
        {30, [](Owner& o, int) { o.on = !o.on; }, Row::Always,
         [](Owner& o, int, CCommandState& s) {
             s.checked = o.on;
             s.setText = true;
             s.text = s.enabled ? "an" : "aus";
         }},
        // Tells its state only: running it is someone else's.
        {40, nullptr, [](Owner& o, int) { return o.ready; }},
    };
    return table;
}

} // namespace

TEST(CommandTable, HandleRunsTheRowOfTheCommandAndPassesItsNumber)
{
    Owner o;
    EXPECT_TRUE(Table().Handle(o, 10));
    EXPECT_EQ(o.ran, 1);
    EXPECT_TRUE(Table().Handle(o, 27));
    EXPECT_EQ(o.lastCommand, 27);
    EXPECT_TRUE(Table().Handle(o, 20));
    EXPECT_TRUE(Table().Handle(o, 29));
    EXPECT_EQ(o.lastCommand, 29);
    EXPECT_FALSE(Table().Handle(o, 19));
    EXPECT_FALSE(Table().Handle(o, 31));
    // A state-only row leaves running to the next stop.
    EXPECT_FALSE(Table().Handle(o, 40));
    EXPECT_EQ(o.ran, 1);
}

TEST(CommandTable, QueryStartsFreshAndAppliesRuleAndStatus)
{
    Owner o;
    CCommandState s;
    s.enabled = true;
    s.checked = true;
    s.setText = true;
    s.text = "alt";
    ASSERT_TRUE(Table().Query(o, 22, s));
    EXPECT_FALSE(s.enabled);
    EXPECT_FALSE(s.checked);
    EXPECT_FALSE(s.setText);
    EXPECT_EQ(s.text, "");
    o.ready = true;
    ASSERT_TRUE(Table().Query(o, 22, s));
    EXPECT_TRUE(s.enabled);
    ASSERT_TRUE(Table().Query(o, 25, s));
    EXPECT_FALSE(s.enabled) << "the rule sees the command of the run";
    o.on = true;
    ASSERT_TRUE(Table().Query(o, 30, s));
    EXPECT_TRUE(s.enabled);
    EXPECT_TRUE(s.checked);
    EXPECT_TRUE(s.setText);
    EXPECT_EQ(s.text, "an");
    ASSERT_TRUE(Table().Query(o, 40, s));
    EXPECT_TRUE(s.enabled);
}

TEST(CommandTable, UnknownCommandLeavesTheStateAlone)
{
    Owner o;
    CCommandState s;
    s.enabled = true;
    s.text = "bleibt";
    EXPECT_FALSE(Table().Query(o, 50, s));
    EXPECT_TRUE(s.enabled);
    EXPECT_EQ(s.text, "bleibt");
}

TEST(CommandTable, OverlappingRowsAreFound)
{
    EXPECT_FALSE(Table().HasOverlap());
    const CCommandTable<Owner> overlapping = {
        {20, 29, nullptr, Row::Always},
        {29, nullptr, Row::Always},
    };
    EXPECT_TRUE(overlapping.HasOverlap());
    const CCommandTable<Owner> inside = {
        {20, 29, nullptr, Row::Always},
        {15, 40, nullptr, Row::Always},
    };
    EXPECT_TRUE(inside.HasOverlap());
}
