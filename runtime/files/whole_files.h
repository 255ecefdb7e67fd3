// Whole-file operations: existence, size, copy, delete, and turning separators into "/".
#pragma once

#include "runtime/core/rt_string.h"

// These open the named file directly, without the packed archive.
double FileExists(const RtString& name);
double FileSize(const RtString& name);
void FileCopy(const RtString& source, const RtString& target);
void FileDelete(const RtString& name);
void PathToForwardSlashes(RtString& path);
