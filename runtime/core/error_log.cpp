// The runtime log "ErrorLog.txt": one CR LF line per entry, retried only while another process holds
// it; a log that cannot be written (no folder, a full disk) costs no time.
#include "platform/clock.h"
#include "platform/paths.h"
#include "runtime/core/core.h"

#include <string>

void WriteErrorLog(const char* message) {
    std::string line = message ? message : "NULL";
    line += "\r\n";
    std::string path = platform::TempDir() + "ErrorLog.txt";
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (platform::AppendExclusive(path, line.data(), line.size()) != platform::AppendResult::Busy) return;
        platform::SleepMs(100);
    }
}
