#pragma once

#include <initializer_list>
#include <vector>

namespace rowstone::ui {

// A rectangle in dialog units: x and y from the dialog's top-left corner.
struct DluRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class ControlKind {
    Label, // static text
    Frame, // static with a black frame
    Icon,  // static showing the application icon
    GroupBox,
    PushButton,
    DefPushButton, // the dialog's default button (Enter)
    Edit,
    ComboBox, // drop-down list
    CheckBox, // automatic check box
    TabControl,
};

// Control styles, combined as bits.
enum ControlStyle : unsigned {
    kNoStyle = 0,
    kDisabled = 1u << 0,
    kHidden = 1u << 1,
    kCentre = 1u << 2,
    kPassword = 1u << 3,
    kMultiLine = 1u << 4,
    kVScroll = 1u << 5,
    kWantReturn = 1u << 6,
    kSorted = 1u << 7,
    kTabStop = 1u << 8,
    kDigitsOnly = 1u << 9, // an edit that accepts digits only
};

// Dialog styles, combined as bits.
enum DialogStyle : unsigned {
    kChild = 1u << 0, // a page inside another window, no caption
    kPopup = 1u << 1, // a top-level window
    kSystemMenu = 1u << 2,
    kResizable = 1u << 3,
    kMinMaxBoxes = 1u << 4,
    kNoBorder = 1u << 5,
};

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    const char* text = ""; // UTF-8
    DluRect rect;
    unsigned styles = kNoStyle;
};

struct DialogTemplate {
    int id = 0;
    const char* caption = ""; // UTF-8; empty for child pages
    int width = 0;            // dialog units
    int height = 0;
    const char* fontFace = "MS Shell Dlg";
    int fontPoints = 8;
    unsigned styles = kChild;
    std::vector<ControlTemplate> controls;
};

// The program's dialog templates, by resource id; nullptr for an unknown id.
const DialogTemplate* FindDialogTemplate(int id);

// The program's string resources, by id (UTF-8); empty for an unknown id.
const char* FindResourceString(int id);

// Where the program's resource of this id and type (letter case ignored)
// is kept in the program's built-in files; empty when there is none.
const char* FindResourcePath(int id, const char* type);

} // namespace rowstone::ui
