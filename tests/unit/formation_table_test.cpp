// The formation tables: their contents byte for byte, their blocks in the ledger,
// the bounds of a position and a fill that runs out of memory.
#include "lookup/formation_table.h"

#include "tests/unit/core_test_support.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// The troop texts of rows 1 … 11, the same for every kind.
const char* const kTroops[kRowCount] = {"240",   "2080",  "5880",  "12400", "19600", "28520",
                                        "39160", "51560", "65720", "81680", "96120"};

// The rows whose best formation is written with 歩 (GBK 9A 69), by kind.
const std::vector<std::size_t> kVariantRows[kKindCount] = {{4}, {7, 8, 11}, {2, 6, 10, 11}, {2, 3, 7, 11}};

// The formation letters as GBK byte pairs: 弓, 魔, 炮, 步, 歩.
constexpr unsigned kLetters[] = {0xB9AD, 0xC4A7, 0xC5DA, 0xB2BD, 0x9A69};
constexpr unsigned kVariantLetter = 0x9A69;

long position(std::size_t row, std::size_t field) {
    return static_cast<long>(3 * row - 2 + field);
}

// The text split into byte pairs; an odd byte count yields a final 0 pair.
std::vector<unsigned> bytePairs(const char* text) {
    std::vector<unsigned> pairs;
    std::size_t size = std::strlen(text);
    for (std::size_t i = 0; i < size; i += 2) {
        unsigned lead = static_cast<unsigned char>(text[i]);
        unsigned trail = i + 1 < size ? static_cast<unsigned char>(text[i + 1]) : 0u;
        pairs.push_back(i + 1 < size ? lead << 8 | trail : 0u);
    }
    return pairs;
}

std::vector<const char*> entriesOf(std::size_t kind) {
    std::vector<const char*> entries;
    for (long p = 1; p <= static_cast<long>(tableCount(kind)); ++p) entries.push_back(tableEntry(kind, p));
    return entries;
}

std::string allocationFailure(std::size_t bytes) {
    return "运行时出错!\r\n\r\n错误信息：分配 " + std::to_string(bytes) + " 字节内存失败!\r\n";
}

using FormationTableTest = CoreTest;

TEST_F(FormationTableTest, EmptyTablesHoldNothingUntilFilled) {
    createEmptyTables();
    for (std::size_t kind = 0; kind < kKindCount; ++kind) EXPECT_EQ(tableCount(kind), 0u) << "kind " << kind;
    EXPECT_EQ(extraBlocks(), 4);  // one empty list per kind
}

TEST_F(FormationTableTest, FirstAndLastEntries) {
    createEmptyTables();
    fillFormationTables();
    EXPECT_STREQ(tableEntry(0, 1), "240");
    EXPECT_STREQ(tableEntry(0, 2), "弓弓魔炮");
    EXPECT_STREQ(tableEntry(0, 3), "炮魔弓步");
    EXPECT_EQ(std::string(tableEntry(3, 33)), "\xC4\xA7\x9A\x69\xB9\xAD\xC5\xDA");  // 魔歩弓炮
}

TEST_F(FormationTableTest, EveryKindHasElevenRowsWithTheSameTroops) {
    createEmptyTables();
    fillFormationTables();
    for (std::size_t kind = 0; kind < kKindCount; ++kind) {
        SCOPED_TRACE("kind " + std::to_string(kind + 1));
        ASSERT_EQ(tableCount(kind), 33u);
        for (const char* entry : entriesOf(kind)) EXPECT_NE(entry, nullptr);
        for (std::size_t row = 1; row <= kRowCount; ++row) {
            EXPECT_STREQ(tableEntry(kind, position(row, 0)), kTroops[row - 1]) << "row " << row;
        }
    }
}

TEST_F(FormationTableTest, FormationsAreFourLettersWithTheVariantStepWhereWritten) {
    createEmptyTables();
    fillFormationTables();
    int variants = 0;
    for (std::size_t kind = 0; kind < kKindCount; ++kind) {
        for (std::size_t row = 1; row <= kRowCount; ++row) {
            for (std::size_t field : {1u, 2u}) {
                SCOPED_TRACE("kind " + std::to_string(kind + 1) + " row " + std::to_string(row) + " field " +
                             std::to_string(field + 1));
                const char* text = tableEntry(kind, position(row, field));
                ASSERT_NE(text, nullptr);
                EXPECT_EQ(std::strlen(text), 8u) << printable(text);
                std::vector<unsigned> pairs = bytePairs(text);
                for (unsigned pair : pairs) {
                    EXPECT_NE(std::find(std::begin(kLetters), std::end(kLetters), pair), std::end(kLetters))
                        << printable(text);
                }
                const std::vector<std::size_t>& rows = kVariantRows[kind];
                bool written = field == 2 && std::find(rows.begin(), rows.end(), row) != rows.end();
                bool holds = std::find(pairs.begin(), pairs.end(), kVariantLetter) != pairs.end();
                EXPECT_EQ(holds, written) << printable(text);
                EXPECT_EQ(std::strstr(text, "\x9A\x69") != nullptr, written) << printable(text);
                variants += holds ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(variants, 12);
}

TEST_F(FormationTableTest, EveryEntryIsItsOwnCopy) {
    createEmptyTables();
    fillFormationTables();
    std::set<const char*> distinct;
    for (std::size_t kind = 0; kind < kKindCount; ++kind) {
        for (const char* entry : entriesOf(kind)) distinct.insert(entry);
    }
    EXPECT_EQ(distinct.size(), 4 * 33u);
    EXPECT_NE(tableEntry(0, 1), tableEntry(1, 1));  // "240" in two kinds
}

TEST_F(FormationTableTest, FillingAgainReplacesTheTables) {
    createEmptyTables();
    fillFormationTables();
    long once = extraBlocks();
    fillFormationTables();
    EXPECT_EQ(extraBlocks(), once);
    EXPECT_EQ(once, 4 + 4 * 33);
    EXPECT_STREQ(tableEntry(0, 1), "240");
    EXPECT_EQ(tableCount(3), 33u);
}

TEST_F(FormationTableTest, ReleaseFreesEveryTextAndList) {
    createEmptyTables();
    long empty = extraBlocks();
    fillFormationTables();
    long filled = extraBlocks();
    releaseTables();
    EXPECT_EQ(filled - extraBlocks(), 4 * 33 + 4);
    EXPECT_EQ(extraBlocks(), empty - 4);
    for (std::size_t kind = 0; kind < kKindCount; ++kind) EXPECT_EQ(tableCount(kind), 0u);
}

TEST_F(FormationTableTest, PositionOutsideTheTableIsFatal) {
    const std::string below = "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n";
    const std::string above = "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n";
    struct Case {
        long position;
        const std::string& text;
    };
    const Case cases[] = {{0, below}, {-1, below}, {34, above}};
    createEmptyTables();
    fillFormationTables();
    for (std::size_t kind = 0; kind < kKindCount; ++kind) {
        for (const Case& c : cases) {
            SCOPED_TRACE("kind " + std::to_string(kind + 1) + " position " + std::to_string(c.position));
            host.errorText.clear();
            EXPECT_EQ(exitCodeOf([&] { tableEntry(kind, c.position); }), -1);
            EXPECT_EQ(host.errorText, c.text);
        }
    }
}

TEST_F(FormationTableTest, FillTakesOneAllocationPerListAndText) {
    createEmptyTables();
    long before = host.obtained;
    fillFormationTables();
    EXPECT_EQ(host.obtained - before, 4 * 34);
}

// Every allocation of a fill fails in turn: the fatal text names the size asked
// for, the kinds before the failing one are refilled and the failing kind and
// those after it keep the tables they had.
TEST_F(FormationTableTest, AllocationFailureKeepsTheKindsPreviousTable) {
    createEmptyTables();
    fillFormationTables();
    for (long call = 1; call <= 4 * 34; ++call) {
        SCOPED_TRACE("failing call " + std::to_string(call));
        std::vector<const char*> previous[kKindCount];
        for (std::size_t kind = 0; kind < kKindCount; ++kind) previous[kind] = entriesOf(kind);

        std::size_t failingKind = static_cast<std::size_t>((call - 1) / 34);
        std::size_t index = static_cast<std::size_t>((call - 1) % 34);  // 0: the list, p: the text at p
        std::size_t bytes = index == 0 ? 33 * sizeof(char*) : index % 3 == 1 ? std::strlen(kTroops[index / 3]) + 1 : 9;

        host.failObtainAt = host.obtained + call;
        host.errorText.clear();
        EXPECT_EQ(exitCodeOf(fillFormationTables), -1);
        host.failObtainAt = 0;
        EXPECT_EQ(host.errorText, allocationFailure(bytes));

        for (std::size_t kind = 0; kind < kKindCount; ++kind) {
            SCOPED_TRACE("kind " + std::to_string(kind + 1));
            std::vector<const char*> now = entriesOf(kind);
            ASSERT_EQ(now.size(), 33u);
            if (kind < failingKind) {
                for (std::size_t i = 0; i < now.size(); ++i) EXPECT_NE(now[i], previous[kind][i]);
                EXPECT_STREQ(now[0], "240");
            } else {
                EXPECT_EQ(now, previous[kind]);
            }
        }
    }
}

}  // namespace
