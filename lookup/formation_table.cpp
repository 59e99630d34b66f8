// The formation tables with their constant contents. The texts are written here in
// UTF-8 and compiled to GBK (the build sets the execution character set). Where
// the best formation is written with 歩, the variant of 步 (GBK 9A 69), that is the
// table's own spelling and is kept byte for byte.
#include "lookup/formation_table.h"

#include "app/runtime.h"

#include <cstring>

namespace {

struct Row {
    const char* troops;
    const char* enemyFormation;
    const char* bestFormation;
};

using ConstantList = Row[kRowCount];

// clang-format off
constexpr ConstantList kDarkWindHunter = {
    {"240",   "弓弓魔炮", "炮魔弓步"},
    {"2080",  "弓步弓炮", "炮魔弓步"},
    {"5880",  "魔弓炮弓", "弓魔步炮"},
    {"12400", "弓魔步弓", "炮弓魔歩"},
    {"19600", "步弓弓炮", "魔炮弓步"},
    {"28520", "步魔弓弓", "魔弓炮步"},
    {"39160", "弓炮魔弓", "炮步魔弓"},
    {"51560", "弓弓魔步", "炮步弓魔"},
    {"65720", "弓弓炮步", "炮弓步魔"},
    {"81680", "魔炮弓弓", "魔步炮弓"},
    {"96120", "弓炮弓魔", "炮步弓魔"},
};

constexpr ConstantList kEvilMoonBrute = {
    {"240",   "步步魔炮", "魔步弓炮"},
    {"2080",  "弓步步炮", "炮魔弓步"},
    {"5880",  "魔弓步步", "弓炮步魔"},
    {"12400", "步魔步弓", "魔弓步炮"},
    {"19600", "步步魔炮", "魔步弓炮"},
    {"28520", "步魔弓步", "魔弓炮步"},
    {"39160", "步炮步弓", "魔歩弓炮"},
    {"51560", "步炮魔步", "魔歩炮弓"},
    {"65720", "步魔炮步", "魔弓炮步"},
    {"81680", "步炮步弓", "魔步弓炮"},
    {"96120", "步炮步魔", "魔歩弓炮"},
};

constexpr ConstantList kThunderGunner = {
    {"240",   "步弓炮炮", "魔弓炮步"},
    {"2080",  "弓魔炮炮", "炮弓魔歩"},
    {"5880",  "魔炮炮步", "弓步炮魔"},
    {"12400", "炮魔步炮", "步弓魔炮"},
    {"19600", "步弓炮炮", "魔弓炮步"},
    {"28520", "步炮弓炮", "魔歩弓炮"},
    {"39160", "炮炮魔弓", "步魔弓炮"},
    {"51560", "弓炮魔炮", "炮步弓魔"},
    {"65720", "炮魔炮步", "步弓炮魔"},
    {"81680", "炮炮步弓", "歩炮魔弓"},
    {"96120", "步炮弓炮", "魔歩弓炮"},
};

constexpr ConstantList kBlackFogLich = {
    {"240",   "步弓魔魔", "魔步弓炮"},
    {"2080",  "魔步炮炮", "弓魔歩炮"},
    {"5880",  "魔弓魔步", "弓炮魔歩"},
    {"12400", "炮魔步魔", "步弓魔炮"},
    {"19600", "步弓魔魔", "魔步弓炮"},
    {"28520", "步魔魔炮", "魔弓炮步"},
    {"39160", "步炮魔魔", "魔歩弓炮"},
    {"51560", "弓炮魔魔", "炮步弓魔"},
    {"65720", "魔魔炮步", "弓炮步魔"},
    {"81680", "魔炮步魔", "弓步魔炮"},
    {"96120", "步炮魔魔", "魔歩弓炮"},
};
// clang-format on

constexpr const Row* kConstantLists[kKindCount] = {kDarkWindHunter, kEvilMoonBrute, kThunderGunner, kBlackFogLich};

FormationTable tables[kKindCount];

// Position p (1-based) of a constant list.
const char* constantEntry(std::size_t kind, std::size_t position) {
    const Row& row = kConstantLists[kind][(position - 1) / kFieldCount];
    switch ((position - 1) % kFieldCount) {
    case 0: return row.troops;
    case 1: return row.enemyFormation;
    default: return row.bestFormation;
    }
}

FormationTable newList(std::size_t count) {
    return {static_cast<char**>(allocateBlock(count * sizeof(char*))), count};
}

void releaseTable(FormationTable& table) {
    for (std::size_t i = 0; i < table.count; ++i) releaseBlock(table.texts[i]);
    releaseBlock(table.texts);
    table = {};
}

}  // namespace

const char* const kKindNames[kKindCount] = {"暗风猎手", "邪月蛮兵", "恶雷炮手", "黑雾巫妖"};

void createEmptyTables() {
    for (FormationTable& table : tables) table = newList(0);
}

void fillFormationTables() {
    for (std::size_t kind = 0; kind < kKindCount; ++kind) {
        // The new table is complete before the old one goes: a failed allocation
        // ends the program with the kind still holding its previous table.
        FormationTable fresh = newList(kEntryCount);
        for (std::size_t position = 1; position <= kEntryCount; ++position) {
            const char* text = constantEntry(kind, position);
            std::size_t size = std::strlen(text) + 1;
            fresh.texts[position - 1] = static_cast<char*>(allocateBlock(size));
            std::memcpy(fresh.texts[position - 1], text, size);
        }
        releaseTable(tables[kind]);
        tables[kind] = fresh;
    }
}

void releaseTables() {
    for (FormationTable& table : tables) releaseTable(table);
}

std::size_t tableCount(std::size_t kind) {
    return tables[kind].count;
}

const char* tableEntry(std::size_t kind, long position) {
    if (position < 1) raiseRuntimeError(4);
    if (static_cast<unsigned long>(position) > tables[kind].count) raiseRuntimeError(1);
    return tables[kind].texts[position - 1];
}
