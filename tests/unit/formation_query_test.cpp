// The formation query, driven through the fake host: what it reads from the
// selectors 种类 and 等级, and what it writes into the labels 元素1 … 元素3.
#include "lookup/formation_query.h"

#include "tests/unit/core_test_support.h"

#include <map>
#include <string>

namespace {

using Labels = std::map<std::size_t, std::string>;

// The three label texts as written by the query, by entry index.
Labels labels(const char* troops, const char* enemy, const char* best) {
    return {{entryIndex("元素1"), troops}, {entryIndex("元素2"), enemy}, {entryIndex("元素3"), best}};
}

class FormationQueryTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        createEmptyTables();
        fillFormationTables();
    }

    void select(const char* kind, const char* level) {
        setText("种类", Property::content, kind);
        setText("等级", Property::content, level);
    }

    // Runs one query from fresh counters.
    void query() {
        host.writes.clear();
        host.reads.clear();
        queryFormation();
    }

    // The writes of the last query by entry index; empty when there were none.
    Labels written() const {
        Labels out;
        for (const auto& [entry, text] : host.writes) out[entry] = text;
        return out;
    }

    int reads(const char* control) { return host.reads[entryIndex(control)]; }
};

TEST_F(FormationQueryTest, EachKindWritesItsRow) {
    struct Case {
        const char* kind;
        const char* level;
        Labels expected;
    };
    const Case cases[] = {
        {"暗风猎手", "10", labels("240", "弓弓魔炮", "炮魔弓步")},
        {"邪月蛮兵", "70", labels("39160", "步炮步弓", "\xC4\xA7\x9A\x69\xB9\xAD\xC5\xDA")},   // 魔歩弓炮
        {"恶雷炮手", "100", labels("81680", "炮炮步弓", "\x9A\x69\xC5\xDA\xC4\xA7\xB9\xAD")},  // 歩炮魔弓
        {"黑雾巫妖", "110", labels("96120", "步炮魔魔", "\xC4\xA7\x9A\x69\xB9\xAD\xC5\xDA")},  // 魔歩弓炮
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.level);
        select(c.kind, c.level);
        query();
        EXPECT_EQ(host.writes.size(), 3u);
        EXPECT_EQ(written(), c.expected);
        for (const auto& [entry, text] : c.expected) EXPECT_EQ((host.texts[{entry, Property::caption}]), text);
    }
}

TEST_F(FormationQueryTest, ReadsEachSelectorPerKindAndRow) {
    struct Case {
        const char* kind;
        int levelReads;
    };
    const Case cases[] = {{"暗风猎手", 11}, {"黑雾巫妖", 11}, {"暗风猎手 ", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        select(c.kind, "50");
        query();
        EXPECT_EQ(reads("种类"), 4);
        EXPECT_EQ(reads("等级"), c.levelReads);
    }
}

TEST_F(FormationQueryTest, KindMustMatchByteForByte) {
    const char* const kinds[] = {
        "暗风猎手 ", " 暗风猎手", "暗风猎", "暗风猎手手", "", nullptr,
        "\xE6\x9A\x97\xE9\xA3\x8E\xE7\x8C\x8E\xE6\x89\x8B",  // 暗风猎手 in UTF-8
    };
    for (const char* kind : kinds) {
        SCOPED_TRACE(printable(kind));
        select(kind, "10");
        query();
        EXPECT_TRUE(host.writes.empty());
    }
}

// Level texts and the row of 暗风猎手 they select: row 2 (level 20) or none.
TEST_F(FormationQueryTest, LevelTextSelectsTheRowWithinTolerance) {
    struct Case {
        const char* level;
        bool selectsRow2;
    };
    const Case cases[] = {
        {"20", true},
        {"+20", true},
        {"20.0", true},
        {"2e1", true},
        {"2E+1", true},
        {"2d1", true},
        {"200e-1", true},
        {"20 级", true},
        {"20x", true},
        {"20e", true},
        {"20e+", true},
        {"  20", true},
        {"\t20", true},
        {"\xA3\xB2\xA3\xB0", true},  // ２０
        {"\xA1\xA1" "20", true},     // ideographic space, 20
        {"20.00000009", true},
        {"19.99999991", true},
        {"20.5", false},
        {"20e1", false},
        {"20.0000002", false},
        {"19.9999998", false},
        {"", false},
        {nullptr, false},
        {"0", false},
        {"5", false},
        {"15", false},
        {"120", false},
        {"-10", false},
        {"1e400", false},
        {"abc", false},
        {".", false},
        {"+", false},
        {"0x14", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(printable(c.level));
        select("暗风猎手", c.level);
        query();
        EXPECT_EQ(written(), c.selectsRow2 ? labels("2080", "弓步弓炮", "炮魔弓步") : Labels{});
    }
}

TEST_F(FormationQueryTest, NoMatchKeepsTheLabels) {
    select("恶雷炮手", "30");
    query();
    const Labels shown = written();
    ASSERT_EQ(shown.size(), 3u);
    const char* const misses[][2] = {{"恶雷炮手", "35"}, {"恶雷", "30"}};
    for (const auto& miss : misses) {
        SCOPED_TRACE(std::string(miss[0]) + " " + miss[1]);
        select(miss[0], miss[1]);
        query();
        EXPECT_TRUE(host.writes.empty());
        for (const auto& [entry, text] : shown) EXPECT_EQ((host.texts[{entry, Property::caption}]), text);
    }
}

TEST_F(FormationQueryTest, SameQueryTwiceWritesTheSameTwice) {
    select("邪月蛮兵", "40");
    host.writes.clear();
    queryFormation();
    queryFormation();
    ASSERT_EQ(host.writes.size(), 6u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(host.writes[i], host.writes[i + 3]);
}

TEST_F(FormationQueryTest, EmptyTablesAreFatalBeforeAnyWrite) {
    releaseTables();
    createEmptyTables();
    select("暗风猎手", "10");
    host.writes.clear();
    EXPECT_EQ(exitCodeOf(queryFormation), -1);
    EXPECT_EQ(host.errorText, "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
    EXPECT_EQ(host.errorBoxes, 1);
    EXPECT_TRUE(host.writes.empty());
}

TEST_F(FormationQueryTest, ReleasesEveryTextItReads) {
    const char* const selections[][2] = {{"黑雾巫妖", "60"}, {"黑雾巫妖", "65"}, {"白雾", "60"}};
    for (const auto& selection : selections) {
        SCOPED_TRACE(std::string(selection[0]) + " " + selection[1]);
        select(selection[0], selection[1]);
        long before = extraBlocks();
        query();
        EXPECT_GT(reads("种类"), 0);
        EXPECT_EQ(extraBlocks(), before);
    }
}

}  // namespace
