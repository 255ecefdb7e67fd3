// FileRequest: the desktop's file chooser, with the program's window out of its way.
#include "platform/file_chooser.h"
#include "platform/paths.h"
#include "runtime/core/core.h"
#include "runtime/files/system_services.h"

#include <algorithm>

namespace {

platform::FileFilters ParseFilter(const RtString& filter) {
    platform::FileFilters filters;
    std::string_view rest = filter.view();
    while (!rest.empty()) {
        size_t bar = rest.find('|');
        std::string description(rest.substr(0, bar));
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
        bar = rest.find('|');
        std::string patterns(rest.substr(0, bar));
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
        if (!patterns.empty()) filters.emplace_back(description, patterns);
    }
    return filters;
}

} // namespace

RtString FileRequest(double open, const RtString& filter) {
    std::string folder = platform::CurrentDir();
    OpenGLVividoru* device = Runtime().device.get();
    bool fullScreen = device && device->fullScreen;
    if (device) device->Hide();
    std::string chosen;
    bool ok = platform::ChooseFile(open != 0, ParseFilter(filter), folder, chosen);
    // The chooser runs apart from us, but a program's current folder is its own to keep either way.
    platform::SetCurrentDir(folder);
    if (device) {
        if (fullScreen)
            device->GoFullScreen();
        else
            device->PlaceWindowed();
    }
    if (!ok) return "NO_FILE";
    std::replace(chosen.begin(), chosen.end(), '\\', '/');
    return RtString(chosen);
}
