// Channel reads and writes. Values are little-endian on disk as in memory, so bytes are copied as
// they are; every move of fewer bytes than asked is the fatal error 3.
#include "runtime/files/files.h"

#include "runtime/core/core.h"
#include "runtime/core/number_convert.h"
#include "runtime/files/file_channels.h"
#include "runtime/files/line_reader.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Error 3 names the file, or the channel when none is open on it.
[[noreturn]] void ChannelError(int32_t channel, const char* meaning) {
    const FileChannel& ch = ChannelOrDie(channel);
    std::string subject = ch.handle.IsOpen() ? std::string(ch.name.view()) : "channel " + std::to_string(channel);
    RuntimeError(3, meaning, subject.c_str());
}

[[noreturn]] void PastTheEnd(int32_t channel) { ChannelError(channel, "read past the end of the file"); }

template <typename T>
T ReadFixed(int32_t channel) {
    FileChannel& ch = ChannelOrDie(channel);
    T value{};
    ch.position += sizeof(T);
    if (!ch.handle.IsOpen() || ch.handle.Read(&value, sizeof(T)) != static_cast<int64_t>(sizeof(T)))
        PastTheEnd(channel);
    return value;
}

void WriteRaw(int32_t channel, const void* bytes, size_t count) {
    FileChannel& ch = ChannelOrDie(channel);
    if (!ch.handle.IsOpen() || !ch.handle.Write(bytes, count)) ChannelError(channel, "could not write to the file");
}

template <typename T>
void WriteFixed(int32_t channel, T value) {
    WriteRaw(channel, &value, sizeof(T));
}

std::string ReadLineOrDie(int32_t channel) {
    FileChannel& ch = ChannelOrDie(channel);
    std::string text;
    if (!ch.handle.IsOpen() || ReadLine(ch.handle, text, ch.position) == LineEnd::EndOfFile) PastTheEnd(channel);
    return text;
}

// What is left behind the system's file pointer; asked of the system, so a channel opened for
// writing and sought back can read what it wrote.
int64_t BytesLeft(platform::File& file) {
    int64_t at = file.Seek(0, platform::SeekFrom::Current);
    int64_t size = file.Size();
    return at < 0 || size < 0 ? 0 : size - at;
}

} // namespace

void FileReadInt8(int32_t channel, int32_t& target) { target = ReadFixed<int8_t>(channel); }
void FileReadUInt8(int32_t channel, int32_t& target) { target = ReadFixed<uint8_t>(channel); }
void FileReadInt16(int32_t channel, int32_t& target) { target = ReadFixed<int16_t>(channel); }
void FileReadUInt16(int32_t channel, int32_t& target) { target = ReadFixed<uint16_t>(channel); }
void FileReadInt32(int32_t channel, int32_t& target) { target = ReadFixed<int32_t>(channel); }
// The same 32 bits as the signed read: an integer variable cannot hold more.
void FileReadUInt32(int32_t channel, int32_t& target) { target = static_cast<int32_t>(ReadFixed<uint32_t>(channel)); }
void FileReadDouble(int32_t channel, int32_t& target) { target = NumberToInt(ReadFixed<double>(channel)); }
void FileReadFloat(int32_t channel, double& target) { target = ReadFixed<float>(channel); }

// A count larger than what is left ends the program before anything is allocated.
void FileReadBytes(int32_t channel, RtString& target, int32_t count) {
    if (count < 1) {
        target = "";
        return;
    }
    FileChannel& ch = ChannelOrDie(channel);
    if (!ch.handle.IsOpen() || BytesLeft(ch.handle) < count) PastTheEnd(channel);
    std::vector<char> bytes(static_cast<size_t>(count) + 1, 0);
    ch.position += count;
    if (ch.handle.Read(bytes.data(), static_cast<size_t>(count)) != count) PastTheEnd(channel);
    // A byte string stops at an embedded zero.
    target = RtString(std::string_view(bytes.data(), strnlen(bytes.data(), static_cast<size_t>(count))));
}

void FileReadLine(int32_t channel, RtString& target) { target = RtString(ReadLineOrDie(channel)); }
void FileReadLineNumber(int32_t channel, double& target) { target = TextToNumber(ReadLineOrDie(channel).c_str()); }
void FileReadLineInteger(int32_t channel, int32_t& target) { target = TextToInt(ReadLineOrDie(channel).c_str()); }

void FileWriteInt8(int32_t channel, int32_t value) { WriteFixed(channel, static_cast<uint8_t>(value)); }
void FileWriteUInt8(int32_t channel, int32_t value) { WriteFixed(channel, static_cast<uint8_t>(value)); }
void FileWriteInt16(int32_t channel, int32_t value) { WriteFixed(channel, static_cast<uint16_t>(value)); }
void FileWriteUInt16(int32_t channel, int32_t value) { WriteFixed(channel, static_cast<uint16_t>(value)); }
void FileWriteInt32(int32_t channel, int32_t value) { WriteFixed(channel, value); }
void FileWriteUInt32(int32_t channel, int32_t value) { WriteFixed(channel, value); }
void FileWriteDouble(int32_t channel, double value) { WriteFixed(channel, value); }
// Beyond the single-precision range the nearest value is an infinity (a plain cast there is undefined).
void FileWriteFloat(int32_t channel, double value) {
    float single = value > FLT_MAX ? INFINITY : value < -FLT_MAX ? -INFINITY : static_cast<float>(value);
    WriteFixed(channel, single);
}

void FileWriteBytes(int32_t channel, const RtString& text) { WriteRaw(channel, text.c_str(), text.Length()); }

void FileWriteLine(int32_t channel, const RtString& text) {
    std::string line(text.view());
    line += "\r\n";
    WriteRaw(channel, line.data(), line.size());
}

void FileWriteLineNumber(int32_t channel, double value) { FileWriteLine(channel, RtString(value)); }
void FileWriteLineInteger(int32_t channel, int32_t value) { FileWriteLine(channel, RtString(value)); }
