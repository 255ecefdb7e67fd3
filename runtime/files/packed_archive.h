// The packed archive appended to the program's file, and the resolver every loader asks before it
// opens a data file: the file on disk when there is one, else a copy extracted from the archive.
#pragma once

#include "runtime/core/rt_string.h"

#include <tmv/files.h>

#include <string>

struct PackedArchive {
    // Cleared for good when the archive file cannot be opened or carries no archive.
    bool enabled = true;
    std::string archivePath;
    // The last extracted copy, deleted at the next lookup.
    std::string pendingTemp;
    // A folder of the user's own (owner-only) for extracted copies, made at the first extraction and
    // removed at program end: copies never sit under predictable names in a shared folder.
    std::string extractDir;
};

// The runtime's archive: the program's own file, registered at start-up.
PackedArchive& RuntimeArchive();
// Makes path the archive file; deletes a pending copy and enables the archive again.
void ArchiveRegister(PackedArchive& archive, const std::string& path);
// True when the file can be read under `path`: the name itself when it is on disk, else the extracted
// copy of the archive entry named like its last component (letter case ignored).
bool ArchiveResolve(PackedArchive& archive, const RtString& name, RtString& path);
// Deletes the pending copy and the private folder (program end).
void ArchiveDestroy(PackedArchive& archive);
