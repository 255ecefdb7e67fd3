// Pictures kept in the sources that programs' headless runs must save again.
#pragma once

#include <string>
#include <vector>

// Runs a program (its path, then its arguments) that saves a picture headless and prints its path,
// expects status 0, and compares the picture, renamed after the kept one, with the picture kept in the
// sources: within a few levels a channel, as another processor may lead Mesa to round a gradient
// otherwise. After a deliberate change of the look, copy the new picture the failure names over the
// kept one.
void ExpectKeptPicture(const std::vector<std::string>& command, const std::string& kept);
