// RtString: storage, number formatting, conversions and comparisons.
#include "runtime/core/rt_string.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

namespace {

// One zero byte shared by every empty, never-grown string; never written, never freed.
char gSharedEmpty[1] = {0};

[[noreturn]] void StringTooLong() {
    std::fputs("RtString: text longer than 4 GiB\n", stderr);
    std::abort();
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

} // namespace

RtString::RtString() noexcept : data_(gSharedEmpty), capacity_(0), length_(0) {}

RtString::RtString(const char* text) : RtString() { AssignText(text, text ? std::strlen(text) : 0); }

RtString::RtString(std::string_view text) : RtString() { AssignText(text.data(), text.size()); }

RtString::RtString(double value) : RtString() { FormatNumber(value); }

RtString::RtString(float value) : RtString() { FormatNumber(value); }

RtString::RtString(const RtString& other) : RtString() { AssignText(other.data_, other.length_); }

RtString::RtString(RtString&& other) noexcept : data_(other.data_), capacity_(other.capacity_), length_(other.length_) {
    other.data_ = gSharedEmpty;
    other.capacity_ = 0;
    other.length_ = 0;
}

RtString::~RtString() {
    if (capacity_ > 0) std::free(data_);
}

RtString& RtString::operator=(const RtString& other) {
    AssignText(other.data_, other.length_);
    return *this;
}

RtString& RtString::operator=(RtString&& other) noexcept {
    if (this != &other) {
        if (capacity_ > 0) std::free(data_);
        data_ = other.data_;
        capacity_ = other.capacity_;
        length_ = other.length_;
        other.data_ = gSharedEmpty;
        other.capacity_ = 0;
        other.length_ = 0;
    }
    return *this;
}

RtString& RtString::operator=(const char* text) {
    AssignText(text, text ? std::strlen(text) : 0);
    return *this;
}

void RtString::FormatInteger(int64_t value) {
    Reserve(64);
    length_ = static_cast<uint32_t>(std::snprintf(data_, capacity_, "%lld", static_cast<long long>(value)));
}

void RtString::FormatUnsigned(uint64_t value) {
    Reserve(64);
    length_ = static_cast<uint32_t>(std::snprintf(data_, capacity_, "%llu", static_cast<unsigned long long>(value)));
}

RtString& RtString::operator=(double value) {
    FormatNumber(value);
    return *this;
}

RtString& RtString::operator=(float value) {
    FormatNumber(value);
    return *this;
}

void RtString::AssignExact(const char* text) {
    size_t n = text ? std::strlen(text) : 0;
    if (n >= std::numeric_limits<uint32_t>::max()) StringTooLong();
    char* fresh = static_cast<char*>(std::malloc(n + 1));
    if (!fresh) StringTooLong();
    if (n) std::memcpy(fresh, text, n);
    fresh[n] = 0;
    if (capacity_ > 0) std::free(data_);
    data_ = fresh;
    capacity_ = static_cast<uint32_t>(n + 1);
    length_ = static_cast<uint32_t>(n);
}

RtString& RtString::operator+=(const RtString& other) {
    Append(other.data_, other.length_);
    return *this;
}

RtString& RtString::operator+=(const char* text) {
    if (text) Append(text, std::strlen(text));
    return *this;
}

RtString& RtString::operator+=(char c) {
    Append(&c, 1);
    return *this;
}

char* RtString::WritableBuffer(uint32_t n) {
    Reserve(n);
    return data_;
}

void RtString::RecomputeLength() {
    if (capacity_ == 0) return;
    // The caller may have filled the whole buffer: the last byte stays the terminator.
    length_ = static_cast<uint32_t>(strnlen(data_, capacity_ - 1));
    data_[length_] = 0;
}

int RtString::CharAt(uint32_t index) const {
    if (length_ == 0) return 0;
    return static_cast<signed char>(data_[index]);
}

void RtString::SetChar(uint32_t index, char byte) {
    if (capacity_ > 0) data_[index] = byte;
}

void RtString::CutAt(uint32_t index) {
    if (capacity_ == 0) return;
    data_[index] = 0;
    RecomputeLength();
}

int32_t RtString::ToInt() const { return TextToInt(c_str()); }

double RtString::ToNumber() const { return TextToNumber(c_str()); }

// Grows in 16-byte steps above the needed length, keeping the text.
void RtString::Reserve(uint64_t n) {
    if (capacity_ > n) return;
    uint64_t grown = (n & ~uint64_t{15}) + 16;
    if (grown > std::numeric_limits<uint32_t>::max()) StringTooLong();
    char* fresh = static_cast<char*>(std::malloc(grown));
    if (!fresh) StringTooLong();
    std::memcpy(fresh, data_, length_);
    fresh[length_] = 0;
    if (capacity_ > 0) std::free(data_);
    data_ = fresh;
    capacity_ = static_cast<uint32_t>(grown);
}

// text may point into this string's own buffer (s += s, s = s): it is found again after growing.
void RtString::Append(const char* text, uint64_t n) {
    bool inside = capacity_ > 0 && text >= data_ && text < data_ + capacity_;
    size_t offset = inside ? static_cast<size_t>(text - data_) : 0;
    uint64_t total = uint64_t{length_} + n;
    Reserve(total);
    if (inside) text = data_ + offset;
    std::memmove(data_ + length_, text, n);
    length_ = static_cast<uint32_t>(total);
    data_[length_] = 0;
}

// A text from this string's own buffer (s = s.c_str() + 2) is no longer than the string, so the buffer
// never grows under it.
void RtString::AssignText(const char* text, uint64_t n) {
    Reserve(n);
    if (n) std::memmove(data_, text, n);
    length_ = static_cast<uint32_t>(n);
    data_[length_] = 0;
}

// Ten significant digits, whole numbers without a point, the exponent form where fixed notation
// would need more digits: the text that INI files and lists have always held.
void RtString::FormatNumber(double value) {
    Reserve(64);
    int n = std::snprintf(data_, capacity_, "%.10g", value);
    length_ = static_cast<uint32_t>(n);
}

RtString operator+(const RtString& a, const RtString& b) {
    RtString r(a);
    r += b;
    return r;
}
RtString operator+(const RtString& a, const char* b) {
    RtString r(a);
    r += b;
    return r;
}
RtString operator+(const char* a, const RtString& b) {
    RtString r(a);
    r += b;
    return r;
}
RtString operator+(const RtString& a, char b) {
    RtString r(a);
    r += b;
    return r;
}
RtString operator+(char a, const RtString& b) {
    RtString r;
    r += a;
    r += b;
    return r;
}
RtString operator+(const RtString& a, double b) { return a + RtString(b); }
RtString operator+(double a, const RtString& b) { return RtString(a) + b; }
RtString operator+(const RtString& a, float b) { return a + RtString(b); }
RtString operator+(float a, const RtString& b) { return RtString(a) + b; }

bool operator==(const RtString& a, const RtString& b) {
    return a.Length() == b.Length() && std::strcmp(a.c_str(), b.c_str()) == 0;
}
std::strong_ordering operator<=>(const RtString& a, const RtString& b) { return a <=> b.c_str(); }
bool operator==(const RtString& a, const char* b) { return std::strcmp(a.c_str(), b ? b : "") == 0; }
std::strong_ordering operator<=>(const RtString& a, const char* b) { return std::strcmp(a.c_str(), b ? b : "") <=> 0; }
bool operator==(const RtString& a, char b) { return a == RtString(std::string_view(&b, 1)); }
std::strong_ordering operator<=>(const RtString& a, char b) {
    const char text[2] = {b, 0};
    return a <=> text;
}
bool operator==(const RtString& a, double b) { return a.ToNumber() == b; }
std::partial_ordering operator<=>(const RtString& a, double b) { return a.ToNumber() <=> b; }

int Compare(const RtString& text, double number) {
    double v = text.ToNumber();
    return v < number ? -1 : v > number ? 1 : 0;
}

int Compare(const RtString& text, int32_t number) {
    int32_t v = text.ToInt();
    return v < number ? -1 : v > number ? 1 : 0;
}

// Saturates at the 32-bit limits instead of overflowing.
int32_t TextToInt(const char* text) {
    const char* p = text;
    while (IsSpace(*p)) ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int64_t value = 0;
    for (; IsDigit(*p); ++p) {
        value = value * 10 + (*p - '0');
        if (value > 2147483648LL) value = 2147483648LL;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

// Only the decimal form counts (digits, point, exponent): hexadecimal, "inf" and "nan" read as 0, as
// they always have for these programs.
double TextToNumber(const char* text) {
    const char* p = text;
    while (IsSpace(*p)) ++p;
    const char* start = p;
    if (*p == '-' || *p == '+') ++p;
    while (IsDigit(*p)) ++p;
    if (*p == '.') {
        ++p;
        while (IsDigit(*p)) ++p;
    }
    if (*p == 'e' || *p == 'E') {
        const char* e = p + 1;
        if (*e == '-' || *e == '+') ++e;
        if (IsDigit(*e)) {
            while (IsDigit(*e)) ++e;
            p = e;
        }
    }
    // strtod reads exactly the prefix checked above; one without digits ("", "-", ".") as 0.
    return std::strtod(std::string(start, p).c_str(), nullptr);
}

RtString StringMid(const RtString& source, int32_t start, int32_t count) {
    int64_t length = source.Length();
    int64_t n = count < 0 ? length : count;
    if (int64_t{start} + n > length) n = length - start;
    if (start < 0 || start > length) return RtString(); // n < 0 only past the end
    // Copied up to the source's terminator, then cut at n.
    std::string_view rest(source.c_str() + start);
    return RtString(rest.substr(0, static_cast<size_t>(n)));
}

int32_t StringFind(const RtString& text, const RtString& pattern) {
    if (pattern.Length() == 0) return 0;
    const char* hit = std::strstr(text.c_str(), pattern.c_str());
    return hit ? static_cast<int32_t>(hit - text.c_str()) : -1;
}

RtString StringLower(const RtString& text) {
    RtString copy(text);
    for (uint32_t i = 0; i < copy.Length(); ++i) {
        char c = static_cast<char>(copy.CharAt(i));
        if (c >= 'A' && c <= 'Z') copy.SetChar(i, static_cast<char>(c - 'A' + 'a'));
    }
    return copy;
}
