// The desktop's own file chooser, run as a separate program.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

// Pairs of description and patterns ("*.png;*.bmp").
using FileFilters = std::vector<std::pair<std::string, std::string>>;

// zenity, else kdialog, opened at folder; false when the user cancelled or neither is installed.
bool ChooseFile(bool open, const FileFilters& filters, const std::string& folder, std::string& chosen);

} // namespace platform
