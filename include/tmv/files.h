// Files and system services: file channels and typed I/O, the line-indexed file, whole files, the INI
// file, folders and file lists, the packed archive's resolver, processes, library binding, facts
// about the machine, file dialogs and HTTP download. Names may use "/" or "\"; names longer than 1023
// bytes fail.
//
//   Channels     FileOpen FileClose FileCloseAll FileEnd FilePosition FileSeek
//   Reading      FileReadInt8 UInt8 Int16 UInt16 Int32 UInt32 Double Float, FileReadBytes,
//                FileReadLine FileReadLineNumber FileReadLineInteger
//   Writing      FileWriteInt8 ... FileWriteFloat, FileWriteBytes, FileWriteLine FileWriteLineNumber
//                FileWriteLineInteger
//   Line file    LineFileRead LineFileWrite
//   Whole files  FileExists FileSize FileCopy FileDelete PathToForwardSlashes
//   INI file     IniSelectFile IniReadValue IniWriteValue
//   Folders      CurrentDirGet CurrentDirSet FileList
//   Archive      ArchiveResolve
//   System       ProcessRun LibraryBind SystemInfo FileRequest HttpGetToFile HttpLimits
#pragma once

#include "rt_array.h"
#include "rt_string.h"

#include <cstdint>

// ---- File channels 0 to 7 (a number outside ends the program with error 7)
// Reading goes through the packed archive; writing makes a new file.
bool FileOpen(int32_t channel, const RtString& name, bool forReading);
void FileClose(int32_t channel);
void FileCloseAll();
// Size <= position.
bool FileEnd(int32_t channel);
// The runtime's own count of the read position.
double FilePosition(int32_t channel);
// mode 0 from the start, > 0 from here, < 0 from the end.
void FileSeek(int32_t channel, int32_t offset, int32_t mode);

// ---- Typed reads and writes (little-endian; a read past the end or a failed write ends the program
// with error 3, naming the file)
void FileReadInt8(int32_t channel, int32_t& target);
void FileReadUInt8(int32_t channel, int32_t& target);
void FileReadInt16(int32_t channel, int32_t& target);
void FileReadUInt16(int32_t channel, int32_t& target);
void FileReadInt32(int32_t channel, int32_t& target);
void FileReadUInt32(int32_t channel, int32_t& target);
// A double on disk, truncated into an integer.
void FileReadDouble(int32_t channel, int32_t& target);
void FileReadFloat(int32_t channel, double& target);
// count bytes; the text stops at a zero byte.
void FileReadBytes(int32_t channel, RtString& target, int32_t count);
// Lines end at LF or CR LF.
void FileReadLine(int32_t channel, RtString& target);
void FileReadLineNumber(int32_t channel, double& target);
void FileReadLineInteger(int32_t channel, int32_t& target);
void FileWriteInt8(int32_t channel, int32_t value);
void FileWriteUInt8(int32_t channel, int32_t value);
void FileWriteInt16(int32_t channel, int32_t value);
void FileWriteUInt16(int32_t channel, int32_t value);
void FileWriteInt32(int32_t channel, int32_t value);
void FileWriteUInt32(int32_t channel, int32_t value);
void FileWriteDouble(int32_t channel, double value);
void FileWriteFloat(int32_t channel, double value);
void FileWriteBytes(int32_t channel, const RtString& text);
// Lines end in CR LF.
void FileWriteLine(int32_t channel, const RtString& text);
void FileWriteLineNumber(int32_t channel, double value);
void FileWriteLineInteger(int32_t channel, int32_t value);

// ---- Line-indexed file (lines 0 to 255, written back when another file is used and at program end)
// The line, "NO_FILE" or "NO_DATA".
RtString LineFileRead(const RtString& name, int32_t index);
void LineFileWrite(const RtString& name, int32_t index, const RtString& text);

// ---- Whole files (on disk only, never the archive)
double FileExists(const RtString& name);
double FileSize(const RtString& name);
void FileCopy(const RtString& source, const RtString& target);
void FileDelete(const RtString& name);
void PathToForwardSlashes(RtString& path);

// ---- INI file (one current table, written back when another file is selected and at program end)
void IniSelectFile(const RtString& name);
// "NO_DATA" when missing.
RtString IniReadValue(const RtString& section, const RtString& key);
// An empty value removes the key, an empty key the section.
void IniWriteValue(const RtString& section, const RtString& key, const RtString& value);

// ---- Folders
// With "/" separators and one trailing "/"; "" when the folder is gone.
RtString CurrentDirGet();
// 1 on success, 0 when the system refuses the folder.
double CurrentDirSet(const RtString& path);
// Folders (".", ".." included, whatever the pattern) then the files matching the pattern ("*" any
// run, "?" one character but not "."), each in the system's order; the result is folders × 65536 +
// files. A folder that cannot be read gives 0 and an empty array.
double FileList(const RtString& pattern, RtArray<RtString>& target);

// ---- Packed archive (for loaders: ask before opening a data file)
// path: the file on disk, or the extracted copy of the archive entry named like its last component
// (letter case ignored).
bool ArchiveResolve(const RtString& name, RtString& path);

// ---- Processes, libraries, the machine, file dialogs, HTTP
// 1 when the program started (exitCode written when waiting), 0 when not; show has no meaning here.
double ProcessRun(const RtString& commandLine, double wait, double show, double& exitCode);
// Lower-cases module in place; pointer = the function, or null. Each module loads once per run.
void LibraryBind(RtString& module, const RtString& function, void*& pointer);
// Upper-cases key in place: "" platform, "GLEXT:name", "ID", "DEVICE", "TIME", "BATTERY"; else "NO_DATA".
RtString SystemInfo(RtString& key);
// filter: "description|patterns|description|patterns..."; the chosen file with "/", or "NO_FILE".
RtString FileRequest(double open, const RtString& filter);
// GET http://host:port/path into localFile: 1 when a 2xx body arrived whole, else 0 and the old file kept.
double HttpGetToFile(const RtString& host, const RtString& path, double port, const RtString& localFile);
// What the download allows the server, settable before a download.
struct HttpDownloadLimits {
    int32_t receiveMs = 30000;      // for the next bytes
    int32_t totalMs = 600000;       // for the whole answer, 10 minutes
    uint64_t maxBytes = 1ull << 30; // of body, 1 GiB
};
HttpDownloadLimits& HttpLimits();
