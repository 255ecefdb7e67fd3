// The runtime's line reader, shared by channels, the line-indexed file and the INI loader.
#pragma once

#include "platform/files.h"

#include <cstdint>
#include <string>
#include <vector>

// How a line read ended.
enum class LineEnd {
    Feed,      // at an LF, or at the end of the file's data
    Full,      // 1024 bytes without an LF: the next read continues behind them
    EndOfFile, // nothing was left to read, or the read failed
};

constexpr size_t kLineBufferSize = 1024;

// Reads 64-byte blocks up to the first LF and seeks back behind it, so that the file pointer stands at
// the next unread byte. The text stops at a zero byte, has no LF and no CR just before it. position
// grows by what the line consumed (one past the size after a last line without an LF).
LineEnd ReadLine(platform::File& file, std::string& text, int64_t& position);

// The same lines from a file read whole, for readers that own the file until its end (INI files, the
// line-indexed file): big reads instead of a system call per 64 bytes and a seek per line.
class BufferedLineReader {
  public:
    explicit BufferedLineReader(platform::File& file) : file_(file) {}
    LineEnd Next(std::string& text);

  private:
    platform::File& file_;
    std::vector<char> buffer_;
    size_t begin_ = 0;
    bool atEnd_ = false;
};
