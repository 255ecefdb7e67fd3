// The runtime log "ErrorLog.txt": one CR LF line per entry, retried while another process holds it.
#include "platform/clock.h"
#include "platform/paths.h"
#include "runtime/core/core.h"

#include <string>

void WriteErrorLog(const char* message) {
    std::string line = message ? message : "NULL";
    line += "\r\n";
    std::string path = platform::TempDir() + "ErrorLog.txt";
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (platform::AppendExclusive(path, line.data(), line.size())) return;
        platform::SleepMs(100);
    }
}
