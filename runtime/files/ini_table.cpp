// The INI table: loading through the line reader, lookups, changes and the write-back.
#include "runtime/files/ini_table.h"

#include "platform/files.h"
#include "runtime/files/file_rewrite.h"
#include "runtime/files/ini_parser.h"
#include "runtime/files/line_reader.h"
#include "runtime/files/packed_archive.h"

#include <algorithm>

namespace {

bool SameLetters(const RtString& a, const RtString& b) {
    if (a.Length() != b.Length()) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(a.view().begin(), a.view().end(), b.view().begin(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

template <typename Sections>
auto FindSection(Sections& sections, const RtString& name) {
    return std::find_if(sections.begin(), sections.end(),
                        [&](const IniSection& s) { return SameLetters(s.name, name); });
}

template <typename Entries>
auto FindKey(Entries& entries, const RtString& key) {
    return std::find_if(entries.begin(), entries.end(), [&](const IniEntry& e) { return SameLetters(e.key, key); });
}

// The line before which keys of the unnamed section go: the first header, or the end.
size_t FirstHeaderLine(const std::vector<IniLine>& lines) {
    for (size_t k = 0; k < lines.size(); ++k) {
        size_t first = lines[k].text.find_first_not_of(" \t\r\n");
        if (first != std::string::npos && lines[k].text[first] == '[') return k;
    }
    return lines.size();
}

// A header kept as text because its section had no loaded key ("[screen]" over "resx="): a new
// section of that name fills it instead of repeating the header at the end.
size_t EmptyHeaderLine(const std::vector<IniLine>& lines, const RtString& name) {
    for (size_t k = 0; k < lines.size(); ++k) {
        if (lines[k].fromTable) continue;
        IniSection header;
        std::vector<IniSection> none;
        ParseIniLine(lines[k].text, static_cast<int32_t>(k), header, none);
        if (header.header == static_cast<int32_t>(k) && SameLetters(header.name, name)) return k;
    }
    return lines.size();
}

} // namespace

void IniLoadFile(IniTable& table, const RtString& name) {
    table = IniTable{};
    table.fileName = name;
    RtString path;
    if (!ArchiveResolve(name, path)) return;
    platform::File in = platform::OpenForReading(std::string(path.view()));
    if (!in.IsOpen()) return;
    IniSection pending;
    std::string line, rest;
    BufferedLineReader reader(in);
    for (;;) {
        LineEnd end = reader.Next(line);
        if (end == LineEnd::EndOfFile) break;
        ParseIniLine(line, static_cast<int32_t>(table.lines.size()), pending, table.sections);
        // A line longer than the buffer is cut there: its rest must not become a key line of its own,
        // but is written back with it.
        std::string& kept = table.lines.emplace_back().text = line;
        while (end == LineEnd::Full) {
            end = reader.Next(rest);
            kept += rest;
        }
    }
    FinishIniSection(pending, table.sections);
    for (const IniSection& s : table.sections) {
        if (s.header >= 0) table.lines[static_cast<size_t>(s.header)].fromTable = true;
        for (const IniEntry& e : s.entries) table.lines[static_cast<size_t>(e.line)].fromTable = true;
    }
}

RtString IniLookup(const IniTable& table, const RtString& section, const RtString& key) {
    auto s = FindSection(table.sections, section);
    if (s == table.sections.end()) return "NO_DATA";
    auto e = FindKey(s->entries, key);
    return e == s->entries.end() ? RtString("NO_DATA") : e->value;
}

void IniSetValue(IniTable& table, const RtString& section, const RtString& key, const RtString& value) {
    auto s = FindSection(table.sections, section);
    if (key.Length() == 0) {
        if (s == table.sections.end()) return;
        table.sections.erase(s);
        // The removal must reach the file even when no key changes after it.
        table.modified = true;
        return;
    }
    if (s == table.sections.end()) {
        table.sections.push_back({section, {}});
        s = table.sections.end() - 1;
    }
    table.modified = true;
    auto e = FindKey(s->entries, key);
    if (e == s->entries.end()) {
        s->entries.push_back({key, value});
    } else if (value.Length() == 0) {
        s->entries.erase(e);
    } else if (value != e->value) {
        e->value = value;
        if (e->line >= 0) table.lines[static_cast<size_t>(e->line)].text = (e->key + "=" + value).str();
    }
}

bool IniWriteFile(const IniTable& table, const std::string& path) {
    const std::vector<IniLine>& lines = table.lines;
    size_t count = lines.size();
    std::vector<bool> held(count, false);
    // Added keys, by the line they go before (count: the end of the file).
    std::vector<std::string> before(count + 1);
    std::string newSections;
    size_t firstHeader = FirstHeaderLine(lines);
    for (const IniSection& s : table.sections) {
        if (s.header >= 0) held[static_cast<size_t>(s.header)] = true;
        std::string added;
        for (const IniEntry& e : s.entries) {
            if (e.line >= 0)
                held[static_cast<size_t>(e.line)] = true;
            else
                added.append(e.key.view()).append("=").append(e.value.view()).append("\r\n");
        }
        if (s.end >= 0)
            before[static_cast<size_t>(s.end) + 1] += added;
        else if (s.name.Length() == 0) // keys before the first header are the only way into it
            before[firstHeader] += added;
        else if (size_t k = EmptyHeaderLine(lines, s.name); k < count)
            before[k + 1] += added;
        else
            newSections.append("[").append(s.name.view()).append("]\r\n").append(added);
    }
    std::string text;
    for (size_t k = 0; k <= count; ++k) {
        text += before[k];
        if (k < count && (held[k] || !lines[k].fromTable)) text.append(lines[k].text).append("\r\n");
    }
    return RewriteFile(path, text + newSections);
}
