// The in-memory INI table: sections and keys matched without regard to letter case, loading, lookup,
// changing values and writing the table back as a whole.
#pragma once

#include "runtime/core/rt_string.h"

#include <cstdint>
#include <string>
#include <vector>

struct IniEntry {
    RtString key;
    RtString value;
    int32_t line = -1; // its line in the loaded file; -1 when added since
};

struct IniSection {
    RtString name;
    std::vector<IniEntry> entries;
    int32_t header = -1; // its header line in the loaded file; -1 when it has none
    int32_t end = -1;    // its last key line in the loaded file: keys added later go after it
};

// A line of the loaded file. Comments, blank lines and lines the parser ignores are written back as
// they were; a header or key line of the table only while the table holds it, changed when its value was.
struct IniLine {
    std::string text;
    bool fromTable = false;
};

struct IniTable {
    std::vector<IniSection> sections;
    std::vector<IniLine> lines;
    // The name the program asked for, also when the file came out of the packed archive.
    RtString fileName;
    bool modified = false;
};

// Replaces the table by the named file (resolved through the packed archive). A missing file gives an
// empty table that still keeps the name.
void IniLoadFile(IniTable& table, const RtString& name);
// The first matching section's first matching key, or "NO_DATA".
RtString IniLookup(const IniTable& table, const RtString& section, const RtString& key);
// Sets, adds or (with an empty value) removes a key; an empty key removes the whole section. What
// remains keeps its order.
void IniSetValue(IniTable& table, const RtString& section, const RtString& key, const RtString& value);
// Writes the loaded file's lines back with CR LF, a changed key as "key=value" in its line, a removed
// key or section without its lines, new keys after the last key of their section (of the unnamed one
// before the first header) and new sections at the end. Through a temporary file renamed over the old
// one; false (old file intact, failure logged) when it cannot be written.
bool IniWriteFile(const IniTable& table, const std::string& path);
