// Rewrites of the user's files (the INI and line-file write-backs): whole or not at all, never silent.
#pragma once

#include <string>

// Replaces the file's contents through a temporary file beside it. On failure the old file stays, the
// log gets a line naming the file and standard error the system's reason; false then.
bool RewriteFile(const std::string& path, const std::string& text);
// The system's reason for the last failed rewrite, in words ("Permission denied").
const std::string& RewriteFailure();
