// The main window, entry by entry, in description order. Rectangles are relative
// to the parent's client area; the panels start at x = -1, so their leftmost
// column lies outside the window's client area.
#include "ui/window_description.h"

#include "assets/resource_ids.h"
#include "ui/maker_site.h"

#include <iterator>

namespace {

constexpr FontSpec kSelectorFont{.height = 19, .weight = 700};
constexpr FontSpec kPromoFont{.height = 19, .weight = 400, .face = "楷体"};
constexpr FontSpec kResultFont{.height = 14, .weight = 700};
constexpr FontSpec kBestFont{.height = 20, .weight = 700};

constexpr Colour kWhite{255, 255, 255};
constexpr Colour kEntryBrown{46, 43, 41};
constexpr Colour kCaptionYellow{216, 216, 0};
constexpr Colour kPromoYellow{255, 255, 0};

constexpr const char* kLevels[] = {"10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "110"};
constexpr const char* kKinds[] = {"暗风猎手", "邪月蛮兵", "恶雷炮手", "黑雾巫妖"};

constexpr Binding kWindowBindings[] = {{Event::created, "fillFormationTables"}};
constexpr Binding kQueryBindings[] = {{Event::clicked, "queryFormation"}};
constexpr Binding kMoreToolsBindings[] = {{Event::clicked, "openMoreToolsPage"}};
constexpr Binding kForumBindings[] = {{Event::clicked, "openForumPage"}};
constexpr Binding kGuidesBindings[] = {{Event::clicked, "openGuidesPage"}};

template <std::size_t N>
constexpr std::size_t countOf(const Binding (&)[N]) {
    return N;
}

constexpr ControlEntry kEntries[] = {
    {.name = "", .parent = "", .left = 0, .top = 0, .width = 540, .height = 562,
     .bindings = kWindowBindings, .bindingCount = countOf(kWindowBindings),
     .props = WindowProps{.title = "Vantor打野布阵查询V2.0 " MAKER_HOST}},
    {.name = "透明标签3", .parent = "图片框2", .left = 65, .top = 25, .width = 400, .height = 63,
     .props = TransLabelProps{.caption = "Mossreach野怪天天要打，但是如何才能损失最小？"
                                         "Mossreach野怪布阵兵力查询器帮你一键选择阵容。"
                                         "  " MAKER_HOST,
                              .text = kPromoYellow, .font = &kPromoFont, .wordWrap = true}},
    {.name = "按钮4", .parent = "", .left = 200, .top = 400, .width = 144, .height = 80, .tabStop = true,
     .bindings = kGuidesBindings, .bindingCount = countOf(kGuidesBindings),
     .props = ButtonProps{.caption = "游戏攻略"}},
    {.name = "按钮3", .parent = "", .left = 344, .top = 400, .width = 144, .height = 80, .tabStop = true,
     .bindings = kForumBindings, .bindingCount = countOf(kForumBindings),
     .props = ButtonProps{.caption = "官方论坛"}},
    {.name = "按钮2", .parent = "图片框4", .left = 57, .top = 79, .width = 144, .height = 80, .tabStop = true,
     .bindings = kMoreToolsBindings, .bindingCount = countOf(kMoreToolsBindings),
     .props = ButtonProps{.caption = "更多辅助工具"}},
    {.name = "元素3", .parent = "图片框3", .left = 281, .top = 62, .width = 88, .height = 32,
     .props = TransLabelProps{.caption = "炮魔弓步", .text = kWhite, .font = &kBestFont,
                              .vAlign = VAlign::centre}},
    {.name = "元素2", .parent = "图片框3", .left = 353, .top = 14, .width = 72, .height = 24,
     .props = TransLabelProps{.caption = "弓弓魔炮", .text = kWhite, .font = &kResultFont,
                              .vAlign = VAlign::centre}},
    {.name = "元素1", .parent = "图片框3", .left = 183, .top = 14, .width = 72, .height = 24,
     .props = TransLabelProps{.caption = "240", .text = kWhite, .font = &kResultFont,
                              .vAlign = VAlign::centre}},
    {.name = "透明标签2", .parent = "图片框3", .left = 265, .top = 14, .width = 98, .height = 24,
     .props = TransLabelProps{.caption = "敌方阵形为:", .text = kCaptionYellow, .font = &kResultFont,
                              .vAlign = VAlign::centre}},
    {.name = "透明标签1", .parent = "图片框3", .left = 95, .top = 14, .width = 98, .height = 24,
     .props = TransLabelProps{.caption = "敌方总兵数：", .text = kCaptionYellow, .font = &kResultFont,
                              .vAlign = VAlign::centre}},
    {.name = "按钮1", .parent = "图片框2", .left = 337, .top = 96, .width = 128, .height = 65, .tabStop = true,
     .bindings = kQueryBindings, .bindingCount = countOf(kQueryBindings),
     .props = ButtonProps{.caption = "按钮", .picture = IDP_QUERY_BUTTON}},
    {.name = "种类", .parent = "", .left = 187, .top = 227, .width = 116, .height = 110, .tabStop = true,
     .props = ComboBoxProps{.items = kKinds, .itemCount = std::size(kKinds), .font = &kSelectorFont,
                            .text = kWhite, .background = kEntryBrown, .extraItemHeight = 2}},
    {.name = "等级", .parent = "图片框2", .left = 188, .top = 96, .width = 116, .height = 110, .tabStop = true,
     .props = ComboBoxProps{.items = kLevels, .itemCount = std::size(kLevels), .font = &kSelectorFont,
                            .text = kWhite, .background = kEntryBrown, .extraItemHeight = 2}},
    {.name = "图片框3", .parent = "", .left = -1, .top = 266, .width = 540, .height = 120,
     .props = PicBoxProps{.picture = IDP_PANEL3}},
    {.name = "图片框2", .parent = "", .left = -1, .top = 88, .width = 540, .height = 178,
     .props = PicBoxProps{.picture = IDP_PANEL2}},
    {.name = "图片框1", .parent = "", .left = -1, .top = 0, .width = 540, .height = 88,
     .props = PicBoxProps{.picture = IDP_PANEL1}},
    {.name = "图片框4", .parent = "", .left = -1, .top = 321, .width = 540, .height = 214,
     .props = PicBoxProps{.picture = IDP_PANEL4}},
};

}  // namespace

const WindowDescription kMainWindow{kEntries, std::size(kEntries)};
