// Files and system services: file channels and typed I/O, the line-indexed file, whole-file
// operations, INI files, the current folder and file lists, and the packed archive's resolver.
// Names may use "/" or "\"; names longer than 1023 bytes fail.
#pragma once

#include "runtime/files/directories.h"
#include "runtime/files/file_channels.h"
#include "runtime/files/file_list.h"
#include "runtime/files/ini_file.h"
#include "runtime/files/line_file.h"
#include "runtime/files/packed_archive.h"
#include "runtime/files/typed_io.h"
#include "runtime/files/whole_files.h"

// ---- File channels 0 to 7 (a number outside ends the program with error 7; short reads with error 3)
// bool   FileOpen(channel, name, forReading)   reading goes through the archive; writing makes a new file
// void   FileClose(channel) / FileCloseAll()
// bool   FileEnd(channel)                      size <= position
// double FilePosition(channel)                 the runtime's own count
// void   FileSeek(channel, offset, mode)       0 from the start, > 0 from here, < 0 from the end
// void   FileReadInt8 / UInt8 / Int16 / UInt16 / Int32 / UInt32 / Double (into an integer) / Float
// void   FileReadBytes(channel, target, count) stops at a zero byte
// void   FileReadLine / FileReadLineNumber / FileReadLineInteger(channel, target)
// void   FileWriteInt8 ... FileWriteFloat, FileWriteBytes, FileWriteLine (CR LF), FileWriteLineNumber,
//        FileWriteLineInteger

// ---- Line-indexed file (lines 0 to 255, written back when another file is used and at program end)
// RtString LineFileRead(name, index)           the line, "NO_FILE" or "NO_DATA"
// void     LineFileWrite(name, index, text)

// ---- Whole files (on disk only, never the archive)
// double FileExists(name) / FileSize(name)
// void   FileCopy(source, target) / FileDelete(name) / PathToForwardSlashes(path)

// ---- INI file (one current table, written back when another file is selected and at program end)
// void     IniSelectFile(name)
// RtString IniReadValue(section, key)          "NO_DATA" when missing
// void     IniWriteValue(section, key, value)  empty value removes the key, empty key the section
// Other tables: IniLoadFile(table, name), IniLookup(table, section, key)

// ---- Folders
// RtString CurrentDirGet()                     "/" separators and a trailing "/"; "" when it is gone
// double   CurrentDirSet(path)                 1 or 0
// double   FileList(pattern, target)           folders × 65536 + matching files; "*" any run, "?" one
//                                              character but not "."

// ---- Packed archive (for loaders: ask before opening a data file)
// bool ArchiveResolve(name, path)              path: the file on disk or its extracted copy
// bool ArchiveResolve(archive, name, path)     the same over a given archive record
