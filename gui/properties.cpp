// Widget and dialog properties by name: KYgui_set, KYgui_get$, KYgui_get, KYgui_hide, KYgui_link.
#include "gui/kygui_state.h"
#include "runtime/core/core.h"

#include <string_view>

namespace {

struct StringField {
    std::string_view name;
    RtString KYguiWidget::*field;
};
struct IntField {
    std::string_view name;
    int32_t KYguiWidget::*field;
};
struct DoubleField {
    std::string_view name;
    double KYguiWidget::*field;
};

constexpr StringField kStringFields[] = {{"TEXT", &KYguiWidget::text},
                                         {"TYPE", &KYguiWidget::type},
                                         {"FILTER", &KYguiWidget::filter},
                                         {"TIPTEXT", &KYguiWidget::tiptext}};
constexpr IntField kIntFields[] = {
    {"WIDTH", &KYguiWidget::width},       {"HEIGHT", &KYguiWidget::height},     {"CLICKED", &KYguiWidget::clicked},
    {"SELECT", &KYguiWidget::select},     {"COUNT", &KYguiWidget::count},       {"HOVER", &KYguiWidget::hover},
    {"READONLY", &KYguiWidget::readonly}, {"SELSTART", &KYguiWidget::selstart}, {"SELEND", &KYguiWidget::selend},
    {"HIDE", &KYguiWidget::hide},         {"SCROLL", &KYguiWidget::scroll}};
constexpr DoubleField kDoubleFields[] = {
    {"MINVAL", &KYguiWidget::minval}, {"MAXVAL", &KYguiWidget::maxval}, {"STEP", &KYguiWidget::step}};

// The dialog's text properties, or null.
RtString* DialogString(KYguiDialog& d, std::string_view name) {
    if (name == "FOCUS") return &d.focus;
    if (name == "INKEY") return &d.inkey;
    if (name == "TEXT") return &d.frame.text;
    return nullptr;
}

// The dialog's number properties, or null; MOVING only when reading.
int32_t* DialogInt(KYguiDialog& d, std::string_view name, bool reading) {
    if (name == "COL_BRIGHT") return &d.col_bright;
    if (name == "COL_NORM") return &d.col_norm;
    if (name == "COL_HOVER_BRIGHT") return &d.col_hover_bright;
    if (name == "COL_HOVER_NORM") return &d.col_hover_norm;
    if (name == "XPOS") return &d.xpos;
    if (name == "YPOS") return &d.ypos;
    if (name == "WIDTH") return &d.frame.width;
    if (name == "HEIGHT") return &d.frame.height;
    if (name == "MOVEABLE") return &d.moveable;
    if (name == "SCALEABLE") return &d.scaleable;
    if (name == "MOVING" && reading) return &d.moving;
    return nullptr;
}

// The widget's property as text; false for an unknown name.
bool ReadWidget(const KYguiWidget& w, std::string_view name, RtString& value) {
    for (const StringField& f : kStringFields)
        if (f.name == name) return value = w.*f.field, true;
    for (const IntField& f : kIntFields)
        if (f.name == name) return value = RtString(w.*f.field), true;
    for (const DoubleField& f : kDoubleFields)
        if (f.name == name) return value = RtString(w.*f.field), true;
    return false;
}

RtString ReadDialog(KYguiDialog& d, std::string_view name) {
    if (RtString* s = DialogString(d, name)) return *s;
    if (int32_t* n = DialogInt(d, name, true)) return RtString(*n);
    return "";
}

} // namespace

void KYgui_set(const RtString& id, const RtString& property, const RtString& value) {
    KYguiDialog& d = ActiveDialog();
    std::string_view name = property.view();
    if (id.Length() == 0) {
        if (RtString* s = DialogString(d, name))
            *s = value;
        else if (int32_t* n = DialogInt(d, name, false))
            *n = value.ToInt();
        else
            DebugOutput("KYgui_set dialog (\"\") property: " + property + " is unknown\n");
        return;
    }
    int32_t at = FindWidget(d, id, true); // may grow the store: look up first, then take the reference
    KYguiWidget& w = d.widgets[static_cast<size_t>(at)];
    for (const StringField& f : kStringFields)
        if (f.name == name) return void(w.*f.field = value);
    for (const IntField& f : kIntFields)
        if (f.name == name) return void(w.*f.field = value.ToInt());
    for (const DoubleField& f : kDoubleFields)
        if (f.name == name) return void(w.*f.field = value.ToNumber());
    DebugOutput("KYgui_set: Widget property " + property + " is unknown\n");
}

RtString KYgui_get_str(const RtString& id, const RtString& property) {
    KYguiState& k = KYgui();
    if (k.dialogs.empty()) {
        DebugOutput("KYgui_get$: No active dialog!\n");
        return "";
    }
    KYguiDialog& d = k.dialogs.back();
    if (id.Length() == 0) return ReadDialog(d, property.view());
    int32_t at = FindWidget(d, id, false);
    if (at < 0) {
        DebugOutput("KYgui_get$: Widget not found " + id + "\n");
        return "";
    }
    RtString value;
    if (ReadWidget(d.widgets[at], property.view(), value)) return value;
    DebugOutput("KYgui_get$: Widget property " + property + " is unknown\n");
    return "0";
}

double KYgui_get(const RtString& id, const RtString& property) {
    KYguiState& k = KYgui();
    if (k.dialogs.empty()) {
        DebugOutput("KYgui_get: No active dialog!\n");
        return 0;
    }
    KYguiDialog& d = k.dialogs.back();
    if (id.Length() == 0) return ReadDialog(d, property.view()).ToNumber();
    int32_t at = FindWidget(d, id, false);
    if (at < 0) {
        DebugOutput("KYgui_get: Widget not found " + id + "\n");
        return 0;
    }
    RtString value;
    if (ReadWidget(d.widgets[at], property.view(), value)) return value.ToNumber();
    DebugOutput("KYgui_get$: Widget property " + property + " is unknown\n");
    return 0;
}

void KYgui_hide(const RtString& id, double hide) { KYgui_set(id, "HIDE", RtString(hide)); }

void KYgui_link(const RtString& srcId, const RtString& srcProp, const RtString& dstId, const RtString& dstProp) {
    ActiveDialog().links.push_back({srcId, dstId, srcProp, dstProp});
}
