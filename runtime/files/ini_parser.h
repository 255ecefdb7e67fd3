// Parsing INI lines into sections: comments, section headers with their odd cases, key lines.
#pragma once

#include "runtime/files/ini_table.h"

#include <string_view>
#include <vector>

// pending is the section being read: its entries gather until the next header or the end of the file.
// index is the line's number in the file, kept with the header or key it holds.
void ParseIniLine(std::string_view line, int32_t index, IniSection& pending, std::vector<IniSection>& sections);
// Stores the pending section when it has entries (a section without entries is dropped).
void FinishIniSection(IniSection& pending, std::vector<IniSection>& sections);
