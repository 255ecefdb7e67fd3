// The toolkit's state record, the active dialog and the id-sorted widget store.
#include "gui/kygui_state.h"

#include "runtime/core/core.h"
#include "runtime/gfx2d/gfx2d.h"

#include <algorithm>

KYguiState& KYgui() {
    static KYguiState* state = new KYguiState;
    return *state;
}

KYguiDialog& ActiveDialog() {
    KYguiState& k = KYgui();
    if (k.dialogs.empty()) RuntimeError(9);
    return k.dialogs.back();
}

int32_t FindWidget(KYguiDialog& dialog, const RtString& id, bool create) {
    std::vector<KYguiWidget>& widgets = dialog.widgets;
    auto at = std::lower_bound(widgets.begin(), widgets.end(), id,
                               [](const KYguiWidget& w, const RtString& key) { return w.id < key; });
    int32_t place = static_cast<int32_t>(at - widgets.begin());
    if (at != widgets.end() && at->id == id) return place;
    if (!create) return -1;
    KYguiWidget fresh;
    fresh.id = id;
    widgets.insert(at, std::move(fresh));
    // Every widget from the insertion place on moved up by one; the others kept their places.
    for (KYguiDrawOrder& entry : dialog.draw_order)
        if (entry.index >= place) entry.index += 1;
    dialog.draw_order.push_back({id, static_cast<double>(place)});
    return place;
}

std::vector<RtString> SplitText(const RtString& text, char separator) {
    std::vector<RtString> parts;
    if (text.Length() == 0) return parts;
    std::string_view s = text.view();
    size_t start = 0;
    for (;;) {
        size_t end = s.find(separator, start);
        parts.emplace_back(s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return parts;
}

void CharSize(int32_t& fx, int32_t& fy) {
    FontGetSize(fx, fy);
    fx = std::max(fx, 1);
    fy = std::max(fy, 1);
}
