// Files: INI loading and lookup against Debian's inih, channel line reading, archive extraction.
#include "platform/directories.h"
#include "platform/paths.h"
#include "runtime/files/files.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>
#include <ini.h>
#include <string>
#include <vector>

namespace {

const std::string& BenchDir() {
    static const std::string dir = platform::MakePrivateDir(platform::TempDir(), "files-bench-");
    return dir;
}

// 100 sections of 100 keys each.
const std::string& IniPath() {
    static const std::string path = [] {
        std::string p = BenchDir() + "big.ini";
        std::ofstream out(p, std::ios::binary);
        for (int s = 0; s < 100; ++s) {
            out << "[Section" << s << "]\r\n";
            for (int k = 0; k < 100; ++k) out << "Key" << k << " = value " << s * 100 + k << "\r\n";
        }
        return p;
    }();
    return path;
}

void IniLoad(benchmark::State& state) {
    IniTable table;
    for (auto _ : state) {
        IniLoadFile(table, RtString(IniPath().c_str()));
        benchmark::DoNotOptimize(table.sections.data());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(IniLoad)->Unit(benchmark::kMillisecond);

// inih storing what it parses into the same shape of table, so both sides do the same work.
int StoreEntry(void* user, const char* section, const char* name, const char* value) {
    auto& sections = *static_cast<std::vector<IniSection>*>(user);
    if (sections.empty() || sections.back().name != section) sections.push_back({section, {}});
    sections.back().entries.push_back({name, value});
    return 1;
}

void InihParse(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<IniSection> sections;
        if (ini_parse(IniPath().c_str(), StoreEntry, &sections) != 0) state.SkipWithError("inih failed");
        benchmark::DoNotOptimize(sections.data());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(InihParse)->Unit(benchmark::kMillisecond);

void IniLookupAll(benchmark::State& state) {
    IniTable table;
    IniLoadFile(table, RtString(IniPath().c_str()));
    std::vector<std::pair<RtString, RtString>> keys;
    for (int s = 0; s < 100; ++s)
        for (int k = 0; k < 100; ++k) keys.push_back({RtString("section") + s, RtString("KEY") + k});
    for (auto _ : state)
        for (const auto& [section, key] : keys) benchmark::DoNotOptimize(IniLookup(table, section, key));
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(IniLookupAll)->Unit(benchmark::kMillisecond);

void ChannelLineReading(benchmark::State& state) {
    static const std::string path = [] {
        std::string p = BenchDir() + "lines.txt";
        std::ofstream out(p, std::ios::binary);
        std::string line;
        for (size_t written = 0, n = 0; written < 10'000'000; written += line.size(), ++n) {
            line = "line " + std::to_string(n) + " " + std::string(n % 120, 'x') + "\r\n";
            out << line;
        }
        return p;
    }();
    int64_t bytes = 0;
    for (auto _ : state) {
        FileOpen(0, RtString(path.c_str()), true);
        RtString line;
        while (!FileEnd(0)) FileReadLine(0, line);
        bytes += static_cast<int64_t>(FilePosition(0));
        FileClose(0);
    }
    state.SetBytesProcessed(bytes);
}
BENCHMARK(ChannelLineReading)->Unit(benchmark::kMillisecond);

void ArchiveExtract1MB(benchmark::State& state) {
    static const std::string program = [] {
        std::string entry = BenchDir() + "level.dat";
        std::string bytes;
        for (size_t i = 0; i < (1u << 20); ++i) bytes += static_cast<char>((i * i >> 7) ^ (i >> 3));
        std::ofstream(entry, std::ios::binary) << bytes;
        std::string p = BenchDir() + "program";
        std::ofstream(p, std::ios::binary) << "program";
        if (std::system((std::string(SBX_PACK_PATH) + " " + p + " " + entry).c_str()) != 0) return std::string();
        platform::RemoveFile(entry);
        return p;
    }();
    PackedArchive archive;
    ArchiveRegister(archive, program);
    RtString path;
    for (auto _ : state)
        if (!ArchiveResolve(archive, "data/LEVEL.DAT", path)) state.SkipWithError("not found");
    ArchiveDestroy(archive);
    state.SetBytesProcessed(state.iterations() * (1 << 20));
}
BENCHMARK(ArchiveExtract1MB)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::RemovePrivateDir(BenchDir());
}
