// The four formation tables: for each monster kind, eleven rows (levels 10 … 110)
// of three texts each — troops, enemyFormation, bestFormation — addressed by
// 1-based positions 3L-2, 3L-1 and 3L.
//
// The tables are process-wide, start empty, are filled on the main window's
// created event and released by the end-of-run routine. Every list and text is a
// block of the runtime layer, so its ledger accounts for them.
#pragma once

#include <cstddef>

inline constexpr std::size_t kKindCount = 4;
inline constexpr std::size_t kRowCount = 11;
inline constexpr std::size_t kFieldCount = 3;  // troops, enemyFormation, bestFormation
inline constexpr std::size_t kEntryCount = kRowCount * kFieldCount;

// A 1-based list of owned texts.
struct FormationTable {
    char** texts = nullptr;  // block of `count` entries
    std::size_t count = 0;
};

// The kind names in kind order: the order of the selector's items, of the tables
// and of the query's tests.
extern const char* const kKindNames[kKindCount];

void createEmptyTables();
void fillFormationTables();
void releaseTables();

std::size_t tableCount(std::size_t kind);
// The text at `position`; fatal error 4 below 1 and 1 above the count.
const char* tableEntry(std::size_t kind, long position);
