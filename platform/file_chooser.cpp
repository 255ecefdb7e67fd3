// The desktop's file chooser: zenity (GNOME and most desktops), else kdialog (KDE).
#include "platform/file_chooser.h"

#include "platform/process.h"

#include <algorithm>

namespace platform {

namespace {

// Windows lists patterns with ";", the choosers with blanks.
std::string Patterns(std::string patterns) {
    std::replace(patterns.begin(), patterns.end(), ';', ' ');
    return patterns;
}

std::vector<std::string> ZenityArguments(bool open, const FileFilters& filters, const std::string& folder) {
    std::vector<std::string> args = {"zenity", "--file-selection", "--filename=" + folder + "/"};
    if (!open) {
        args.push_back("--save");
        args.push_back("--confirm-overwrite");
    }
    for (const auto& [description, patterns] : filters)
        args.push_back("--file-filter=" + description + " | " + Patterns(patterns));
    return args;
}

std::vector<std::string> KdialogArguments(bool open, const FileFilters& filters, const std::string& folder) {
    std::string filter;
    for (const auto& [description, patterns] : filters) {
        if (!filter.empty()) filter += "\n";
        filter += Patterns(patterns) + "|" + description;
    }
    return {"kdialog", open ? "--getopenfilename" : "--getsavefilename", folder + "/", filter};
}

} // namespace

bool ChooseFile(bool open, const FileFilters& filters, const std::string& folder, std::string& chosen) {
    std::string program = FindOnPath("zenity");
    std::vector<std::string> args;
    if (!program.empty()) {
        args = ZenityArguments(open, filters, folder);
    } else {
        program = FindOnPath("kdialog");
        if (program.empty()) return false;
        args = KdialogArguments(open, filters, folder);
    }
    std::string output;
    int exitCode = -1;
    if (!RunForOutput(program, args, output, exitCode) || exitCode != 0) return false;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
    if (output.empty()) return false;
    chosen = output;
    return true;
}

} // namespace platform
