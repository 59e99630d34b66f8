// What the program must answer, written down independently of its tables: for
// each kind (in the selector's order) and level row (10 … 110), the troops, the
// enemy's formation and the best formation, as GBK bytes.
#pragma once

#include <cstddef>

struct Answer {
    const char* troops;
    const char* enemy;
    const char* best;
};

inline constexpr const char* kKindTexts[4] = {"暗风猎手", "邪月蛮兵", "恶雷炮手", "黑雾巫妖"};
inline constexpr const char* kTroopTexts[11] = {"240",   "2080",  "5880",  "12400", "19600", "28520",
                                                "39160", "51560", "65720", "81680", "96120"};

// clang-format off
inline constexpr const char* kEnemyTexts[4][11] = {
    {"弓弓魔炮", "弓步弓炮", "魔弓炮弓", "弓魔步弓", "步弓弓炮", "步魔弓弓", "弓炮魔弓", "弓弓魔步", "弓弓炮步", "魔炮弓弓", "弓炮弓魔"},
    {"步步魔炮", "弓步步炮", "魔弓步步", "步魔步弓", "步步魔炮", "步魔弓步", "步炮步弓", "步炮魔步", "步魔炮步", "步炮步弓", "步炮步魔"},
    {"步弓炮炮", "弓魔炮炮", "魔炮炮步", "炮魔步炮", "步弓炮炮", "步炮弓炮", "炮炮魔弓", "弓炮魔炮", "炮魔炮步", "炮炮步弓", "步炮弓炮"},
    {"步弓魔魔", "魔步炮炮", "魔弓魔步", "炮魔步魔", "步弓魔魔", "步魔魔炮", "步炮魔魔", "弓炮魔魔", "魔魔炮步", "魔炮步魔", "步炮魔魔"},
};
// 歩 is written as its GBK bytes 9A 69 here, so the variant cannot slip in or out
// through the source's encoding.
inline constexpr const char* kBestTexts[4][11] = {
    {"炮魔弓步", "炮魔弓步", "弓魔步炮", "炮弓魔\x9A\x69", "魔炮弓步", "魔弓炮步", "炮步魔弓", "炮步弓魔", "炮弓步魔", "魔步炮弓", "炮步弓魔"},
    {"魔步弓炮", "炮魔弓步", "弓炮步魔", "魔弓步炮", "魔步弓炮", "魔弓炮步", "魔\x9A\x69弓炮", "魔\x9A\x69炮弓", "魔弓炮步", "魔步弓炮", "魔\x9A\x69弓炮"},
    {"魔弓炮步", "炮弓魔\x9A\x69", "弓步炮魔", "步弓魔炮", "魔弓炮步", "魔\x9A\x69弓炮", "步魔弓炮", "炮步弓魔", "步弓炮魔", "\x9A\x69炮魔弓", "魔\x9A\x69弓炮"},
    {"魔步弓炮", "弓魔\x9A\x69炮", "弓炮魔\x9A\x69", "步弓魔炮", "魔步弓炮", "魔弓炮步", "魔\x9A\x69弓炮", "炮步弓魔", "弓炮步魔", "弓步魔炮", "魔\x9A\x69弓炮"},
};
// clang-format on

inline Answer expectedAnswer(std::size_t kind, std::size_t row) {
    return {kTroopTexts[row], kEnemyTexts[kind][row], kBestTexts[kind][row]};
}
