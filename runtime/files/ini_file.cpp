// The current INI file: selection with write-back, reads and writes of values.
#include "runtime/files/ini_file.h"

#include "platform/files.h"
#include "runtime/core/core_internal.h"

namespace {

void RegisterWriteBack(CurrentIniFile& ini) {
    if (ini.exitHandlerRegistered) return;
    ini.exitHandlerRegistered = true;
    RegisterExitHandler([] { IniFlush(); });
}

// A CR or LF inside a written text is cut there, which is what a reload would keep: a value must not
// be able to add lines or sections to the file.
RtString SingleLine(const RtString& text) {
    std::string_view view = text.view();
    size_t cut = view.find_first_of("\r\n");
    return cut == std::string_view::npos ? text : RtString(view.substr(0, cut));
}

} // namespace

CurrentIniFile& CurrentIni() {
    static CurrentIniFile* ini = new CurrentIniFile;
    return *ini;
}

bool IniFlush() {
    CurrentIniFile& ini = CurrentIni();
    const RtString& name = ini.table.fileName;
    if (!ini.table.modified || name.Length() == 0 || name.Length() > platform::kMaxFileName) return true;
    ini.table.modified = false;
    return IniWriteFile(ini.table, ini.writePath); // a failure is logged there
}

void IniSelectFile(const RtString& name) {
    CurrentIniFile& ini = CurrentIni();
    RegisterWriteBack(ini);
    IniFlush();
    IniLoadFile(ini.table, name);
    ini.writePath = platform::AbsolutePath(std::string(name.view()));
}

RtString IniReadValue(const RtString& section, const RtString& key) {
    return IniLookup(CurrentIni().table, section, key);
}

void IniWriteValue(const RtString& section, const RtString& key, const RtString& value) {
    CurrentIniFile& ini = CurrentIni();
    RegisterWriteBack(ini);
    RtString keyLine = SingleLine(key);
    // A key that was all line break is no request to remove the section.
    if (keyLine.Length() == 0 && key.Length() > 0) return;
    IniSetValue(ini.table, SingleLine(section), keyLine, SingleLine(value));
}
