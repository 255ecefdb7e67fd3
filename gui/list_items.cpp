// Items of lists and radio groups: inserting, deleting and reading one item of the "|"-joined text.
#include "gui/kygui_state.h"

namespace {

RtString Join(const std::vector<RtString>& items) {
    RtString text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += "|";
        text += items[i];
    }
    return text;
}

} // namespace

void KYgui_insertitem(const RtString& id, const RtString& item, int32_t index) {
    std::vector<RtString> items = SplitText(KYgui_get_str(id, "TEXT"), '|');
    int32_t n = static_cast<int32_t>(items.size());
    // An empty item would vanish in the joined text.
    RtString stored = item.Length() == 0 ? RtString("<null>") : item;
    if (index >= n || index < 0)
        items.push_back(stored);
    else
        items.insert(items.begin() + index, stored);
    KYgui_set(id, "TEXT", Join(items));
    KYgui_set(id, "COUNT", RtString(n + 1));
    int32_t select = static_cast<int32_t>(KYgui_get(id, "SELECT"));
    if (index >= 0 && select >= index) KYgui_set(id, "SELECT", RtString(select + 1));
    KYgui_resizedialog(0, 0, 0, 0);
}

void KYgui_deleteitem(const RtString& id, int32_t index) {
    std::vector<RtString> items = SplitText(KYgui_get_str(id, "TEXT"), '|');
    int32_t n = static_cast<int32_t>(items.size());
    if (index < 0) {
        KYgui_set(id, "TEXT", "");
        KYgui_set(id, "COUNT", "0");
        KYgui_set(id, "SELECT", "-1");
    } else if (index < n) {
        // Past the last item nothing is removed: dropping the last one instead would lose an item.
        items.erase(items.begin() + index);
        KYgui_set(id, "TEXT", Join(items));
        KYgui_set(id, "COUNT", RtString(n - 1));
        int32_t select = static_cast<int32_t>(KYgui_get(id, "SELECT"));
        if (select >= index) KYgui_set(id, "SELECT", RtString(select - 1));
    }
    KYgui_resizedialog(0, 0, 0, 0);
}

RtString KYgui_getitem_str(const RtString& id, int32_t index) {
    RtString text = KYgui_get_str(id, "TEXT");
    if (index < 0) index = static_cast<int32_t>(KYgui_get(id, "SELECT"));
    // Nothing selected reads as no item, never as the last one.
    if (index < 0) return "";
    std::vector<RtString> items = SplitText(text, '|');
    if (index < static_cast<int32_t>(items.size())) return items[index];
    return "";
}
