// Files on disk: an owned handle with raw reads, writes and seeks, opening and creating by name, and
// replacing a file through a temporary file beside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Names longer than this fail to open; they are never cut into another file's name.
constexpr size_t kMaxFileName = 1023;

enum class SeekFrom { Start, Current, End };

// One open file. Reads and writes go straight to the system, with no buffering of ours.
class File {
  public:
    File() = default;
    explicit File(int fd) : fd_(fd) {}
    File(File&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File() { Close(); }

    bool IsOpen() const { return fd_ >= 0; }
    void Close();
    // Bytes read (fewer only at the end of the file), or -1 on failure.
    int64_t Read(void* buffer, size_t count);
    // True when every byte was written.
    bool Write(const void* bytes, size_t count);
    // The new offset from the start, or -1.
    int64_t Seek(int64_t offset, SeekFrom from);
    // The size now, or -1.
    int64_t Size() const;
    // Flushes to the disk: a replacement must be whole before it takes the old file's name.
    bool Sync();

  private:
    int fd_ = -1;
};

// An existing regular file, for reading; never waits (a FIFO or a device is refused at once).
File OpenForReading(const std::string& name);
// Removes the file if there is one and creates it empty, for reading and writing. A file its owner
// made read-only is kept, and the call fails.
File CreateAlways(const std::string& name);
bool FileReadable(const std::string& name);
// Creates a new file that did not exist (no link followed), owner-only, for reading and writing.
File CreateNew(const std::string& name);

// A rewrite of a user's file: the new contents go to a temporary file in the same folder, which
// takes the file's name only when it is complete, so a crash or a full disk leaves the old file whole.
// A read-only file is not replaced. Temporaries that a killed rewrite of the same file left behind
// are removed. The name limit is the caller's to apply: the target is often the absolute form of a
// short name. The target is a path as the system names it: a backslash in a folder's name stays.
class FileReplacement {
  public:
    explicit FileReplacement(const std::string& target);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool IsOpen() const { return file_.IsOpen(); }
    bool Write(const void* bytes, size_t count);
    // Syncs, renames over the target and closes; false (and the old file untouched) on any failure.
    bool Commit();
    // The file replaced (links resolved), and the system's reason for the first failure ("" if none).
    const std::string& Target() const { return target_; }
    const std::string& Failure() const { return failure_; }

  private:
    void Fail();

    std::string target_;
    std::string tempPath_;
    File file_;
    std::string failure_;
};

// Called by FileReplacement::Commit after the temporary file is complete and before the rename, so
// that tests can end the process at that moment. Null in programs.
struct FileTestHooks {
    void (*beforeReplace)() = nullptr;
};
FileTestHooks& TestHooks();

// A name relative to the current folder made absolute, so that it keeps meaning the same file.
std::string AbsolutePath(const std::string& name);

} // namespace platform
