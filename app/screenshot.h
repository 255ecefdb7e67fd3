// Saving the frame being drawn as a PNG beside the program.
#pragma once

#include <string>

// The file's absolute path, or "" when it could not be written.
std::string SaveScreenshot(const char* name);
