// The INI line parser. Its quirks are kept because stored files depend on them: "[my section]" is
// section "my", "[]" continues the previous name, and a key with an empty value is not loaded.
#include "runtime/files/ini_parser.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

size_t SkipBlanks(std::string_view line, size_t at) {
    while (at < line.size() && IsBlank(line[at])) ++at;
    return at;
}

size_t NameEnd(std::string_view line, size_t at) {
    while (at < line.size() && !IsBlank(line[at]) && line[at] != '=') ++at;
    return at;
}

void ParseHeader(std::string_view line, size_t at, int32_t index, IniSection& pending,
                 std::vector<IniSection>& sections) {
    FinishIniSection(pending, sections);
    pending.header = index;
    size_t start = SkipBlanks(line, at + 1);
    size_t end = NameEnd(line, start);
    if (end > start && line[end - 1] == ']') --end;
    if (end > start) pending.name = RtString(line.substr(start, end - start));
}

void ParseKeyLine(std::string_view line, size_t start, int32_t index, IniSection& pending) {
    size_t keyEnd = NameEnd(line, start);
    if (keyEnd == line.size()) return;
    size_t at = keyEnd;
    if (line[at] != '=') {
        at = SkipBlanks(line, at);
        if (at == line.size() || line[at] != '=') return;
    }
    size_t valueStart = SkipBlanks(line, at + 1);
    if (valueStart == line.size()) return;
    // Trailing control characters go (a CR of a CR CR LF end, a tab); trailing spaces stay. Bytes
    // 128 to 255 stay too: they are letters in the system's code page.
    size_t valueEnd = line.size();
    while (valueEnd > valueStart && static_cast<unsigned char>(line[valueEnd - 1]) < 32) --valueEnd;
    pending.entries.push_back({RtString(line.substr(start, keyEnd - start)),
                               RtString(line.substr(valueStart, valueEnd - valueStart)), index});
    pending.end = index;
}

} // namespace

void ParseIniLine(std::string_view line, int32_t index, IniSection& pending, std::vector<IniSection>& sections) {
    size_t start = SkipBlanks(line, 0);
    if (start == line.size() || line[start] == ';') return;
    if (line[start] == '[')
        ParseHeader(line, start, index, pending, sections);
    else
        ParseKeyLine(line, start, index, pending);
}

void FinishIniSection(IniSection& pending, std::vector<IniSection>& sections) {
    if (pending.entries.empty()) return;
    sections.push_back({pending.name, std::move(pending.entries), pending.header, pending.end});
    pending.entries.clear();
}
