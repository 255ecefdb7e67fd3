// ProcessRun: another program started from a command line, waited for when asked.
#include "platform/paths.h"
#include "platform/process.h"
#include "runtime/files/system_services.h"

#include <cstdint>

// A program that cannot start answers 0 at once, and the wait is one wait for the end: an exit
// status of 259 is that program's status, not a reason to wait again.
double ProcessRun(const RtString& commandLine, double wait, double, double& exitCode) {
    exitCode = 0;
    std::vector<std::string> args = platform::SplitCommandLine(std::string(commandLine.view()));
    if (args.empty()) return 0;
    std::string path = platform::FindProgram(platform::SystemPath(args[0]));
    if (path.empty()) return 0;
    int status = 0;
    if (!platform::StartProcess(path, args, wait != 0, status)) return 0;
    if (wait != 0) exitCode = static_cast<uint32_t>(status);
    return 1;
}
