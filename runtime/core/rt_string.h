// RtString: the runtime's byte string with value semantics, its number formatting and comparisons.
#pragma once

#include <compare>
#include <cstdint>
#include <string_view>

class RtString {
  public:
    RtString() noexcept;
    RtString(const char* text);
    explicit RtString(std::string_view text);
    explicit RtString(int32_t value);
    explicit RtString(double value);
    explicit RtString(float value);
    RtString(const RtString& other);
    RtString(RtString&& other) noexcept;
    ~RtString();

    RtString& operator=(const RtString& other);
    RtString& operator=(RtString&& other) noexcept;
    RtString& operator=(const char* text);
    RtString& operator=(int32_t value);
    RtString& operator=(double value);
    RtString& operator=(float value);
    // Frees the old buffer and sizes the new one exactly: capacity = length + 1.
    void AssignExact(const char* text);

    RtString& operator+=(const RtString& other);
    RtString& operator+=(const char* text);

    // Never null: an empty string gives a static "".
    const char* c_str() const { return length_ > 0 ? data_ : ""; }
    std::string_view view() const { return {c_str(), length_}; }
    uint32_t Length() const { return length_; }
    uint32_t Capacity() const { return capacity_; }

    // Room for n bytes and a terminator; after writing, call RecomputeLength.
    char* WritableBuffer(uint32_t n);
    void RecomputeLength();
    // The byte at index as a signed value, 0 for an empty string. The caller keeps index < Length().
    int CharAt(uint32_t index) const;
    void SetChar(uint32_t index, char byte);
    void CutAt(uint32_t index);

    int32_t ToInt() const;
    double ToNumber() const;

  private:
    void Reserve(uint64_t n);
    void Append(const char* text, uint64_t n);
    void AssignText(const char* text, uint64_t n);
    void FormatNumber(double value);

    char* data_;
    uint32_t capacity_;
    uint32_t length_;
};

RtString operator+(const RtString& a, const RtString& b);
RtString operator+(const RtString& a, const char* b);
RtString operator+(const char* a, const RtString& b);
RtString operator+(const RtString& a, int32_t b);
RtString operator+(int32_t a, const RtString& b);
RtString operator+(const RtString& a, double b);
RtString operator+(double a, const RtString& b);
RtString operator+(const RtString& a, float b);
RtString operator+(float a, const RtString& b);

// Text against text compares bytes; equality of two strings looks at the lengths first.
bool operator==(const RtString& a, const RtString& b);
std::strong_ordering operator<=>(const RtString& a, const RtString& b);
bool operator==(const RtString& a, const char* b);
std::strong_ordering operator<=>(const RtString& a, const char* b);
// Text against a number compares the text's value (atof for doubles and floats, atoi for integers).
bool operator==(const RtString& a, double b);
std::partial_ordering operator<=>(const RtString& a, double b);
bool operator==(const RtString& a, int32_t b);
std::strong_ordering operator<=>(const RtString& a, int32_t b);

// -1, 0 or 1 as the text's value is below, equal to or above the number.
int Compare(const RtString& text, double number);
int Compare(const RtString& text, int32_t number);

// The leading decimal number of a text, as atoi and atof read it; 0 when there is none.
int32_t TextToInt(const char* text);
double TextToNumber(const char* text);

RtString StringMid(const RtString& source, int32_t start, int32_t count);
// Index of the first occurrence of pattern in text; 0 for an empty pattern, -1 when absent.
int32_t StringFind(const RtString& text, const RtString& pattern);
// A copy in which only A-Z become a-z.
RtString StringLower(const RtString& text);
