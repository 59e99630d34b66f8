// The main window as data: one entry for the window, then one per control, in
// description order. The runtime layer builds the window from this table and
// nothing else; the order of the entries is meaningful:
//   - the window's entry comes first;
//   - among the children of one parent, an earlier entry lies above every later one;
//   - at equal focus rank, tab stops follow the reverse description order.
//
// Portable: no platform types, so the core and its tests can read it on Linux.
#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

enum class Event {
    created,    // the window and every control exist, the window is still hidden
    loaded,     // load-time event after created (unbound in this program)
    beforeShow, // last load-time event before the window is shown (unbound)
    clicked,    // a button was activated by mouse or keyboard
};
inline constexpr std::size_t kEventCount = 4;

// Text properties of the controls, which handlers read and write by control name.
enum class Property {
    content,  // ComboBox: the text of the selected item
    caption,  // TransLabel, Button, the window: the text it shows
};

struct Colour {
    std::uint8_t r = 0, g = 0, b = 0;
    bool buttonFace = false;  // the system's button-face colour, resolved at creation
};
inline constexpr Colour kButtonFace{0, 0, 0, true};

// A font made with the platform's default character set, precisions and pitch at
// proof quality. Height is the character height (internal leading excluded).
struct FontSpec {
    int height = 0;
    int width = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    const char* face = "";  // empty: the platform's default face
};

enum class HAlign { left, centre, right };
enum class VAlign { top, centre, bottom };

struct Binding {
    Event event;
    const char* handler;  // resolved against the program's handler table at start-up
};

struct WindowProps {
    const char* title;
    Colour background = kButtonFace;
    bool escapeCloses = true;
};

struct PicBoxProps {
    int picture;  // resource id of the JPEG picture
    Colour background = kButtonFace;
};

struct ComboBoxProps {
    const char* const* items;
    std::size_t itemCount;
    int selection = 0;
    const FontSpec* font = nullptr;
    Colour text;
    Colour background;
    int extraItemHeight = 0;
    bool sorted = false;
};

struct ButtonProps {
    const char* caption;
    int picture = 0;  // 0: no picture, the caption is drawn
    HAlign hAlign = HAlign::centre;
    VAlign vAlign = VAlign::centre;
    bool isDefault = false;
    const FontSpec* font = nullptr;  // null: the default GUI font
};

struct TransLabelProps {
    const char* caption;
    Colour text;
    const FontSpec* font = nullptr;
    HAlign hAlign = HAlign::left;
    VAlign vAlign = VAlign::top;  // single-line text only
    bool wordWrap = false;
};

// The kind of an entry is the alternative its properties hold.
using KindProps = std::variant<WindowProps, PicBoxProps, ButtonProps, ComboBoxProps, TransLabelProps>;

struct ControlEntry {
    const char* name;    // "" for the window
    const char* parent;  // name of the parent entry; "" for the window itself (or its children)
    int left, top, width, height;
    bool visible = true;
    bool enabled = true;
    bool tabStop = false;
    int focusRank = 0;
    const Binding* bindings = nullptr;
    std::size_t bindingCount = 0;
    KindProps props;
};

struct WindowDescription {
    const ControlEntry* entries;
    std::size_t count;
};

// The window description with its names resolved: parent entry indices (-1 for
// the window itself).
struct ResolvedLayout {
    const WindowDescription* description;
    std::vector<int> parents;
};

template <class Props>
const Props* propsOf(const ControlEntry& entry) {
    return std::get_if<Props>(&entry.props);
}

// The program's main window.
extern const WindowDescription kMainWindow;
