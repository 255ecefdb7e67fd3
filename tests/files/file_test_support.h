// What the files tests share: fresh folders, files made from bytes, and the archive packer.
#pragma once

#include "tests/support/headless.h"

#include <string>

// A new empty folder in the test program's temporary folder, with a trailing "/".
std::string FreshDir();
// The folder of that name in the test program's temporary folder, made when missing: the same folder
// for a death test and the fresh process that runs it.
std::string NamedDir(const std::string& name);
// A file of the name in a new folder, holding the bytes; its path.
std::string FileWith(const std::string& bytes, const std::string& name = "data.bin");
// Runs the packer with the arguments; its exit status.
int RunPacker(const std::string& arguments);
