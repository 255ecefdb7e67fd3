// Reading and writing through a channel: fixed-width values, byte strings and text lines.
#pragma once

#include "runtime/core/rt_string.h"

#include <cstdint>

void FileReadInt8(int32_t channel, int32_t& target);
void FileReadUInt8(int32_t channel, int32_t& target);
void FileReadInt16(int32_t channel, int32_t& target);
void FileReadUInt16(int32_t channel, int32_t& target);
void FileReadInt32(int32_t channel, int32_t& target);
void FileReadUInt32(int32_t channel, int32_t& target);
void FileReadDouble(int32_t channel, int32_t& target);
void FileReadFloat(int32_t channel, double& target);
void FileReadBytes(int32_t channel, RtString& target, int32_t count);
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
void FileWriteLine(int32_t channel, const RtString& text);
void FileWriteLineNumber(int32_t channel, double value);
void FileWriteLineInteger(int32_t channel, int32_t value);
