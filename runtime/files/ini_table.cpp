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

// Removal moves the last element into the gap: the order of what remains changes, as stored files
// written by earlier versions show.
template <typename Items, typename Iterator>
void MoveLastInto(Items& items, Iterator gap) {
    if (gap != items.end() - 1) *gap = std::move(items.back());
    items.pop_back();
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
        ParseIniLine(line, pending, table.sections);
        // A line longer than the buffer is cut there: its rest must not become a key line of its own.
        while (end == LineEnd::Full) end = reader.Next(rest);
    }
    FinishIniSection(pending, table.sections);
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
        MoveLastInto(table.sections, s);
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
    if (e == s->entries.end())
        s->entries.push_back({key, value});
    else if (value.Length() > 0)
        e->value = value;
    else
        MoveLastInto(s->entries, e);
}

// The unnamed section comes first, without a header: keys before the first header are the only way
// back into it, as an empty header keeps the name of the section before it.
bool IniWriteFile(const IniTable& table, const std::string& path) {
    std::string text;
    auto write = [&text](const IniSection& s, bool header) {
        if (header) text.append("[").append(s.name.view()).append("]\r\n");
        for (const IniEntry& e : s.entries) text.append(e.key.view()).append("=").append(e.value.view()).append("\r\n");
    };
    for (const IniSection& s : table.sections)
        if (s.name.Length() == 0) write(s, text.size() > 0);
    for (const IniSection& s : table.sections)
        if (s.name.Length() > 0) write(s, true);
    return RewriteFile(path, text);
}
