// RtString: the runtime's byte string with value semantics, its number formatting and comparisons.
#pragma once

#include <compare>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

// Character types other than char have no byte of the ANSI text to stand for; they are refused.
template <typename C>
concept RtWideChar =
    std::same_as<C, wchar_t> || std::same_as<C, char8_t> || std::same_as<C, char16_t> || std::same_as<C, char32_t>;
// Integers of every width are numbers; a char is a character.
template <typename I>
concept RtInteger = std::integral<I> && !std::same_as<I, char> && !std::same_as<I, bool> && !RtWideChar<I>;

class RtString {
  public:
    RtString() noexcept;
    RtString(const char* text);
    explicit RtString(std::string_view text);
    RtString(const std::string& text) : RtString(std::string_view(text)) {}
    // An integer's decimal text: IniWriteValue(section, key, 800) writes "800".
    template <RtInteger I>
    RtString(I value) : RtString() {
        *this = value;
    }
    explicit RtString(double value);
    explicit RtString(float value);
    RtString(const RtString& other);
    RtString(RtString&& other) noexcept;
    ~RtString();

    RtString& operator=(const RtString& other);
    RtString& operator=(RtString&& other) noexcept;
    RtString& operator=(const char* text);
    template <RtInteger I>
    RtString& operator=(I value) {
        if constexpr (std::is_signed_v<I>)
            FormatInteger(static_cast<int64_t>(value));
        else
            FormatUnsigned(static_cast<uint64_t>(value));
        return *this;
    }
    RtString& operator=(double value);
    RtString& operator=(float value);
    // Frees the old buffer and sizes the new one exactly: capacity = length + 1.
    void AssignExact(const char* text);

    RtString& operator+=(const RtString& other);
    RtString& operator+=(const char* text);
    RtString& operator+=(char c);
    template <RtWideChar C>
    RtString& operator+=(C c) = delete;

    // Never null: an empty string gives a static "".
    const char* c_str() const { return length_ > 0 ? data_ : ""; }
    std::string_view view() const { return {c_str(), length_}; }
    std::string str() const { return std::string(view()); }
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
    void FormatInteger(int64_t value);
    void FormatUnsigned(uint64_t value);

    char* data_;
    uint32_t capacity_;
    uint32_t length_;
};

RtString operator+(const RtString& a, const RtString& b);
RtString operator+(const RtString& a, const char* b);
RtString operator+(const char* a, const RtString& b);
// A char appends the character; other integers their decimal text.
RtString operator+(const RtString& a, char b);
RtString operator+(char a, const RtString& b);
template <RtInteger I>
RtString operator+(const RtString& a, I b) {
    return a + RtString(b);
}
template <RtInteger I>
RtString operator+(I a, const RtString& b) {
    return RtString(a) + b;
}
template <RtWideChar C>
RtString operator+(const RtString& a, C b) = delete;
template <RtWideChar C>
RtString operator+(C a, const RtString& b) = delete;
RtString operator+(const RtString& a, double b);
RtString operator+(double a, const RtString& b);
RtString operator+(const RtString& a, float b);
RtString operator+(float a, const RtString& b);

// Text against text compares bytes; equality of two strings looks at the lengths first.
bool operator==(const RtString& a, const RtString& b);
std::strong_ordering operator<=>(const RtString& a, const RtString& b);
bool operator==(const RtString& a, const char* b);
std::strong_ordering operator<=>(const RtString& a, const char* b);
// A char is a one-character text.
bool operator==(const RtString& a, char b);
std::strong_ordering operator<=>(const RtString& a, char b);
template <RtWideChar C>
bool operator==(const RtString& a, C b) = delete;
template <RtWideChar C>
std::strong_ordering operator<=>(const RtString& a, C b) = delete;
// Text against a number compares the text's value (atof for doubles and floats, atoi for integers).
bool operator==(const RtString& a, double b);
std::partial_ordering operator<=>(const RtString& a, double b);
template <RtInteger I>
bool operator==(const RtString& a, I b) {
    return std::cmp_equal(a.ToInt(), b);
}
template <RtInteger I>
std::strong_ordering operator<=>(const RtString& a, I b) {
    int32_t v = a.ToInt();
    return std::cmp_less(v, b)    ? std::strong_ordering::less
           : std::cmp_equal(v, b) ? std::strong_ordering::equal
                                  : std::strong_ordering::greater;
}

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
