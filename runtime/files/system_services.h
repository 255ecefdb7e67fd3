// System services: starting programs, binding library functions by name, facts about the machine,
// the desktop's file chooser.
#pragma once

#include "runtime/core/rt_string.h"

#include <cstdint>
#include <vector>

// ---- Processes
// 1 when the program started (exitCode written when waiting), 0 when not; show has no meaning here.
double ProcessRun(const RtString& commandLine, double wait, double show, double& exitCode);

// ---- Library binding
// Lower-cases module in place; pointer = the function, or null. Each module loads once per run.
void LibraryBind(RtString& module, const RtString& function, void*& pointer);

// ---- Machine
// Upper-cases key in place: "" platform, "GLEXT:name", "ID", "DEVICE", "TIME", "BATTERY"; else "NO_DATA".
RtString SystemInfo(RtString& key);

// ---- File dialogs
// filter: "description|patterns|description|patterns..."; the chosen file with "/", or "NO_FILE".
RtString FileRequest(double open, const RtString& filter);

// ---- HTTP download
// GET http://host:port/path into localFile: 1 when a 2xx body arrived whole, else 0 and the old file kept.
double HttpGetToFile(const RtString& host, const RtString& path, double port, const RtString& localFile);
// What the download allows the server, settable before a download.
struct HttpDownloadLimits {
    int32_t receiveMs = 30000;      // for the next bytes
    int32_t totalMs = 600000;       // for the whole answer, 10 minutes
    uint64_t maxBytes = 1ull << 30; // of body, 1 GiB
};
HttpDownloadLimits& HttpLimits();

// The modules bound so far, lower-case names beside their handles, freed together at program end.
struct LibraryCache {
    std::vector<RtString> names;
    std::vector<void*> handles;
};
LibraryCache& Libraries();
