// The in-memory INI table: sections and keys matched without regard to letter case, loading, lookup,
// changing values and writing the table back as a whole.
#pragma once

#include "runtime/core/rt_string.h"

#include <string>
#include <vector>

struct IniEntry {
    RtString key;
    RtString value;
};

struct IniSection {
    RtString name;
    std::vector<IniEntry> entries;
};

struct IniTable {
    std::vector<IniSection> sections;
    // The name the program asked for, also when the file came out of the packed archive.
    RtString fileName;
    bool modified = false;
};

// Replaces the table by the named file (resolved through the packed archive). A missing file gives an
// empty table that still keeps the name.
void IniLoadFile(IniTable& table, const RtString& name);
// The first matching section's first matching key, or "NO_DATA".
RtString IniLookup(const IniTable& table, const RtString& section, const RtString& key);
// Sets, adds or (with an empty value) removes a key; an empty key removes the whole section.
void IniSetValue(IniTable& table, const RtString& section, const RtString& key, const RtString& value);
// Writes "[section]" and "key=value" lines with CR LF (the unnamed section first) through a temporary
// file renamed over the old one; false (old file intact, failure logged) when it cannot be written.
bool IniWriteFile(const IniTable& table, const std::string& path);
