// Fuzzes INI loading (line reader and parser), lookups and the write-back of what was loaded, which
// must load back to a table that writes the same bytes.
#include "fuzz/fuzz_scratch.h"
#include "platform/paths.h"
#include "runtime/files/ini_table.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

// The inputs go to files in a scratch folder that the end of the run removes.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    MakeFuzzScratchDir();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string input = platform::TempDir() + "fuzz-ini.ini";
    static const std::string output = input + ".out";
    std::ofstream(input, std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    IniTable table;
    IniLoadFile(table, RtString(input.c_str()));
    for (const IniSection& s : table.sections) {
        if (s.entries.empty()) std::abort();
        for (const IniEntry& e : s.entries) IniLookup(table, s.name, e.key);
    }
    IniSetValue(table, "fuzz", "key", "value");
    IniSetValue(table, table.sections.front().name, "", "");
    if (!IniWriteFile(table, output)) std::abort();
    // What was written loads back to a table that writes the same bytes again.
    std::string written = ReadAll(output);
    IniTable reloaded;
    IniLoadFile(reloaded, RtString(output.c_str()));
    if (!IniWriteFile(reloaded, output) || ReadAll(output) != written) std::abort();
    return 0;
}
