// Starting other programs: the command line split as Windows splits it, the program looked up, the
// process started with posix_spawn and, when asked, waited for.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Spaces and tabs separate arguments, double quotes group, backslashes escape only quotes; the
// first argument (the program) ends at its closing quote or the first blank and keeps its
// backslashes.
std::vector<std::string> SplitCommandLine(const std::string& line);
// A name with a "/" is used as it is; a bare name is looked for beside the running program, in the
// current directory, then on PATH. "" when no executable file is found.
std::string FindProgram(const std::string& name);
// Only on PATH; "" when absent.
std::string FindOnPath(const std::string& name);

// Starts path with args (args[0] is the name the program sees) in the current directory, sharing no
// open files but the standard three. False when it could not start. With wait, waits for the end
// and gives the exit status, or 128 + the signal's number for a program a signal ended.
bool StartProcess(const std::string& path, const std::vector<std::string>& args, bool wait, int& exitCode);
// Starts and waits, collecting what the program writes to its standard output.
bool RunForOutput(const std::string& path, const std::vector<std::string>& args, std::string& output, int& exitCode);

} // namespace platform
