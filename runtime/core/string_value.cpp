// StringValue: growth, assignment and append rules, the number text forms and
// the comparison operators.
#include "runtime/core/string_value.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/core/error.h"

namespace vxl {
namespace {

// The one buffer every never-allocated string points at. Never written, never freed.
char g_sharedEmpty[1] = {0};

uint32_t CapacityFor(int n) {
  return (static_cast<uint32_t>(n + 1) / 16u) * 16u + 16u;
}

char* Allocate(uint32_t capacity) {
  char* p = static_cast<char*>(std::malloc(capacity));
  if (!p) FatalError(kErrOutOfMemory);
  return p;
}

}  // namespace

StringValue::StringValue() noexcept : data_(g_sharedEmpty), capacity_(0), length_(0) {}

StringValue::StringValue(const char* text) : StringValue() {
  if (text) Append(text, static_cast<int>(std::strlen(text)));
}

StringValue::StringValue(const char* bytes, int length) : StringValue() {
  if (bytes && length > 0) Append(bytes, length);
}

StringValue::StringValue(std::string_view bytes)
    : StringValue(bytes.data(), static_cast<int>(bytes.size())) {}

StringValue::StringValue(int value) : StringValue() {
  *this = value;
}
StringValue::StringValue(double value) : StringValue() {
  *this = value;
}
StringValue::StringValue(float value) : StringValue() {
  *this = static_cast<double>(value);
}

StringValue::StringValue(const StringValue& other) : StringValue() {
  *this = other;
}

StringValue::StringValue(StringValue&& other) noexcept
    : data_(other.data_), capacity_(other.capacity_), length_(other.length_) {
  other.data_ = g_sharedEmpty;
  other.capacity_ = 0;
  other.length_ = 0;
}

StringValue::~StringValue() {
  Clear();
}

void StringValue::Clear() {
  if (capacity_ != 0) std::free(data_);
  data_ = g_sharedEmpty;
  capacity_ = 0;
  length_ = 0;
}

void StringValue::Reserve(int n, bool keep) {
  if (n <= 0 || capacity_ >= static_cast<uint32_t>(n) + 1u) return;
  const uint32_t capacity = CapacityFor(n);
  if (keep && length_ != 0) {
    // realloc keeps the bytes (and the NUL) exactly as a copy would, but lets
    // the allocator grow in place: long runs of appends stay linear.
    char* p = static_cast<char*>(std::realloc(data_, capacity));
    if (!p) FatalError(kErrOutOfMemory);
    data_ = p;
  } else {
    char* p = Allocate(capacity);
    p[0] = 0;
    if (capacity_ != 0) std::free(data_);
    data_ = p;
    length_ = 0;
  }
  capacity_ = capacity;
}

StringValue& StringValue::operator=(const StringValue& other) {
  if (data_ == other.data_) return *this;
  if (other.length_ == 0) {
    if (capacity_ != 0) data_[0] = 0;
    length_ = 0;
    return *this;
  }
  Reserve(other.length_, false);
  std::memcpy(data_, other.data_, static_cast<size_t>(other.length_) + 1);
  length_ = other.length_;
  return *this;
}

StringValue& StringValue::operator=(StringValue&& other) noexcept {
  if (this == &other) return *this;
  Clear();
  data_ = other.data_;
  capacity_ = other.capacity_;
  length_ = other.length_;
  other.data_ = g_sharedEmpty;
  other.capacity_ = 0;
  other.length_ = 0;
  return *this;
}

StringValue& StringValue::operator=(const char* text) {
  if (text == data_) return *this;
  StringValue copy(text);  // the text may point into our own buffer
  return *this = copy;
}

StringValue& StringValue::operator=(int value) {
  Reserve(15, false);
  std::snprintf(data_, capacity_, "%d", value);
  Recount();
  return *this;
}

StringValue& StringValue::operator=(double value) {
  const StringValue text = FloatText(value);
  Reserve(63, false);  // room for any floating text form, as for "%d" above
  std::memcpy(data_, text.data_, static_cast<size_t>(text.length_) + 1);
  length_ = text.length_;
  return *this;
}

StringValue& StringValue::Append(const char* bytes, int length) {
  if (!bytes || length <= 0) return *this;
  // Appending a piece of ourselves: the buffer may move under the copy.
  if (bytes >= data_ && bytes < data_ + length_) {
    StringValue piece(bytes, length);
    return Append(piece.data_, piece.length_);
  }
  // A string never grows past what a 32-bit length can count.
  if (length > 0x7fffffff - 16 - length_) FatalError(kErrOutOfMemory);
  Reserve(length_ + length, true);
  std::memcpy(data_ + length_, bytes, static_cast<size_t>(length));
  length_ += length;
  data_[length_] = 0;
  return *this;
}

StringValue& StringValue::AppendChar(char c) {
  return Append(&c, 1);
}

StringValue& StringValue::operator+=(const StringValue& other) {
  return Append(other.data_, other.length_);
}
StringValue& StringValue::operator+=(const char* text) {
  return text ? Append(text, static_cast<int>(std::strlen(text))) : *this;
}
StringValue& StringValue::operator+=(int value) {
  return *this += StringValue(value);
}
StringValue& StringValue::operator+=(double value) {
  return *this += FloatText(value);
}

void StringValue::Recount() {
  if (capacity_ == 0) {
    length_ = 0;
    return;
  }
  const void* nul = std::memchr(data_, 0, capacity_ - 1);
  if (nul) {
    length_ = static_cast<int32_t>(static_cast<const char*>(nul) - data_);
  } else {
    data_[capacity_ - 1] = 0;
    length_ = static_cast<int32_t>(capacity_ - 1);
  }
}

void StringValue::Truncate(int n) {
  if (n >= 0 && n < length_) {
    data_[n] = 0;
    length_ = n;
  }
}

// ---- conversions --------------------------------------------------------------------

int ToInt(const char* text) {
  if (!text) return 0;
  const char* p = text;
  while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  // Accumulate in 64 bits and wrap like a 32-bit integer, so absurd inputs
  // give a defined (if meaningless) result instead of undefined overflow.
  uint32_t value = 0;
  while (*p >= '0' && *p <= '9') value = value * 10u + static_cast<uint32_t>(*p++ - '0');
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

double ToFloat(const char* text) {
  return text ? std::strtod(text, nullptr) : 0.0;
}

StringValue FloatText(double value) {
  // Negative zero would come out of the steps below as a lone "-"; it is the
  // number 0, so it reads "0".
  if (value == 0) value = 0.0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%-#.*g", 10, value);
  // "%-" pads nothing without a width, but be safe about stray blanks.
  int len = static_cast<int>(std::strlen(buf));
  while (len > 0 && buf[len - 1] == ' ') buf[--len] = 0;

  // "0.5" -> ".5", "-0.25" -> "-.25"
  char* start = buf + (buf[0] == '-' ? 1 : 0);
  if (start[0] == '0' && start[1] == '.') {
    std::memmove(start, start + 1, std::strlen(start + 1) + 1);
    --len;
  }
  char* e = std::strchr(buf, 'e');
  if (!e) {
    while (len > 2 && buf[len - 1] == '0') buf[--len] = 0;
  }
  e = std::strchr(buf, 'e');
  char* mantissaEnd = e ? e : buf + len;
  if (mantissaEnd > buf && mantissaEnd[-1] == '.') {
    std::memmove(mantissaEnd - 1, mantissaEnd, std::strlen(mantissaEnd) + 1);
    --len;
  }
  if (std::strcmp(buf, ".0") == 0) {
    std::strcpy(buf, "0");
    len = 1;
  }
  if (len > 0 && buf[len - 1] == '.') buf[--len] = 0;
  return StringValue(buf, len);
}

// ---- concatenation -------------------------------------------------------------------

StringValue operator+(const StringValue& a, const StringValue& b) {
  StringValue r(a);
  r += b;
  return r;
}
StringValue operator+(const StringValue& a, const char* b) {
  StringValue r(a);
  r += b;
  return r;
}
StringValue operator+(const char* a, const StringValue& b) {
  StringValue r(a);
  r += b;
  return r;
}
StringValue operator+(const StringValue& a, int b) {
  return a + StringValue(b);
}
StringValue operator+(int a, const StringValue& b) {
  return StringValue(a) + b;
}
StringValue operator+(const StringValue& a, double b) {
  return a + FloatText(b);
}
StringValue operator+(double a, const StringValue& b) {
  return FloatText(a) + b;
}

// ---- comparison -------------------------------------------------------------------

int Compare(const StringValue& a, const char* b) {
  return std::strcmp(a.c_str(), b ? b : "");
}

int Compare(const StringValue& a, int b) {
  const int v = ToInt(a);
  return (v > b) - (v < b);
}

int Compare(const StringValue& a, double b) {
  const double v = ToFloat(a);
  return (v > b) - (v < b);
}

}  // namespace vxl
