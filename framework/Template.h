// Dialog templates as data: controls with their ids, kinds, texts and places
// in dialog units. No Qt in here.
#pragma once

#include <vector>

enum class ControlKind {
    PushButton,
    DefPushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Static,
    StaticIcon,
    Edit,
    ComboDropList,
    ComboDropDown,
    ListView,
    Progress,
    DateTime,
    TabControl,
    Custom, // a control the page creates itself (the strip chart)
};

// Style bits of a template item.
enum : unsigned {
    TS_HIDDEN = 1u << 0,
    TS_DISABLED = 1u << 1,
    TS_MULTILINE = 1u << 2,
    TS_READONLY = 1u << 3,
    TS_VSCROLL = 1u << 4,
    TS_BORDER = 1u << 5,
    TS_AUTOHSCROLL = 1u << 6,
    TS_CENTER = 1u << 7,
    TS_RIGHT = 1u << 8,
    TS_PASSWORD = 1u << 9,
    TS_NUMBER = 1u << 10,
    TS_SORT = 1u << 11,
    TS_UPPERCASE = 1u << 12,
    TS_NOTIFY = 1u << 13,
};

struct TemplateItem {
    int id;
    ControlKind kind;
    const char* text; // caption; for StaticIcon the icon resource id as text
    int x, y, w, h;   // dialog units
    unsigned style;
};

struct DialogTemplate {
    int id;
    const char* caption;
    int w, h; // dialog units
    std::vector<TemplateItem> items;
};

// Dialog units to pixels.
inline int DluX(int x) {
    return x * 3 / 2;
}
inline int DluY(int y) {
    return y * 13 / 8;
}

// Looks a registered template up by its resource id (framework/Resources.h);
// null when there is none.
const DialogTemplate* FindDialogTemplate(int id);
