// Vexel runtime: StringValue, the byte string every layer of Quarx is written
// against.
//
// Value semantics: every string owns its buffer alone, assignment copies bytes.
// A string that never owned memory points at one shared, never-freed empty
// buffer (capacity 0). Capacity grows in 16-byte steps: reserving n content
// bytes gives the smallest multiple of 16 strictly greater than n + 1. Texts are
// plain 8-bit bytes (ISO 8859-1 in the game); no encoding is assumed anywhere.
#pragma once

#include <cstdint>
#include <string_view>

namespace vxl {

class StringValue {
 public:
  StringValue() noexcept;
  StringValue(const char* text);  // NOLINT: C texts convert implicitly, as in the game code
  StringValue(const char* bytes, int length);
  StringValue(std::string_view bytes);
  explicit StringValue(int value);     // "%d"
  explicit StringValue(double value);  // the floating text form (FloatText)
  explicit StringValue(float value);
  StringValue(const StringValue& other);
  StringValue(StringValue&& other) noexcept;
  ~StringValue();

  StringValue& operator=(const StringValue& other);
  StringValue& operator=(StringValue&& other) noexcept;
  StringValue& operator=(const char* text);
  StringValue& operator=(int value);
  StringValue& operator=(double value);

  StringValue& operator+=(const StringValue& other);
  StringValue& operator+=(const char* text);
  StringValue& operator+=(int value);
  StringValue& operator+=(double value);
  StringValue& Append(const char* bytes, int length);
  StringValue& AppendChar(char c);

  // ---- access ----
  const char* c_str() const { return data_; }
  // Writable buffer; never write into a string with capacity 0 (the shared empty
  // buffer). Call Recount() after writing through it.
  char* data() { return data_; }
  int length() const { return length_; }
  uint32_t capacity() const { return capacity_; }
  bool empty() const { return length_ == 0; }
  std::string_view view() const { return {data_, static_cast<size_t>(length_)}; }
  unsigned char operator[](int i) const { return static_cast<unsigned char>(data_[i]); }
  // True while the string points at the shared empty buffer.
  bool IsShared() const { return capacity_ == 0; }

  // Makes room for n content bytes (see the growth rule above). With keep set
  // and a non-empty string the old bytes survive; otherwise the buffer starts
  // with a NUL and the length becomes 0.
  void Reserve(int n, bool keep);
  // Frees the buffer and returns to the shared empty buffer.
  void Clear();
  // After writing through data(): the length becomes the position of the first
  // NUL, never more than capacity - 1 (that byte becomes the NUL if need be).
  void Recount();
  // Cuts the string to n bytes when 0 <= n < length; otherwise unchanged.
  void Truncate(int n);

 private:
  char* data_;
  uint32_t capacity_;
  int32_t length_;
};

// ---- conversions -------------------------------------------------------------
// Base-10 parsing: leading blanks skipped, optional sign, stops at the first
// non-digit; no digits gives 0 ("12abc" -> 12, "0x10" -> 0, "1.9" -> 1).
int ToInt(const char* text);
inline int ToInt(const StringValue& s) {
  return ToInt(s.c_str());
}
// strtod rules; no digits gives 0.
double ToFloat(const char* text);
inline double ToFloat(const StringValue& s) {
  return ToFloat(s.c_str());
}
// The floating text form: ten significant digits, "0." shortened to ".",
// trailing zeros dropped (3 -> "3", 0.5 -> ".5", 1e20 -> "1.000000000e+20").
StringValue FloatText(double value);

// ---- concatenation (numbers take their text forms) -------------------------------
StringValue operator+(const StringValue& a, const StringValue& b);
StringValue operator+(const StringValue& a, const char* b);
StringValue operator+(const char* a, const StringValue& b);
StringValue operator+(const StringValue& a, int b);
StringValue operator+(int a, const StringValue& b);
StringValue operator+(const StringValue& a, double b);
StringValue operator+(double a, const StringValue& b);

// ---- comparison ----------------------------------------------------------------
// With a text: byte-wise (unsigned, strcmp order). With a number: the string is
// parsed (ToInt / ToFloat) and the numbers are compared.
int Compare(const StringValue& a, const char* b);
int Compare(const StringValue& a, int b);
int Compare(const StringValue& a, double b);

#define VXL_STRING_COMPARISONS(T)                     \
  inline bool operator==(const StringValue& a, T b) { \
    return Compare(a, b) == 0;                        \
  }                                                   \
  inline bool operator!=(const StringValue& a, T b) { \
    return Compare(a, b) != 0;                        \
  }                                                   \
  inline bool operator<(const StringValue& a, T b) {  \
    return Compare(a, b) < 0;                         \
  }                                                   \
  inline bool operator>(const StringValue& a, T b) {  \
    return Compare(a, b) > 0;                         \
  }                                                   \
  inline bool operator<=(const StringValue& a, T b) { \
    return Compare(a, b) <= 0;                        \
  }                                                   \
  inline bool operator>=(const StringValue& a, T b) { \
    return Compare(a, b) >= 0;                        \
  }                                                   \
  inline bool operator==(T b, const StringValue& a) { \
    return Compare(a, b) == 0;                        \
  }                                                   \
  inline bool operator!=(T b, const StringValue& a) { \
    return Compare(a, b) != 0;                        \
  }                                                   \
  inline bool operator<(T b, const StringValue& a) {  \
    return Compare(a, b) > 0;                         \
  }                                                   \
  inline bool operator>(T b, const StringValue& a) {  \
    return Compare(a, b) < 0;                         \
  }                                                   \
  inline bool operator<=(T b, const StringValue& a) { \
    return Compare(a, b) >= 0;                        \
  }                                                   \
  inline bool operator>=(T b, const StringValue& a) { \
    return Compare(a, b) <= 0;                        \
  }
VXL_STRING_COMPARISONS(const char*)
VXL_STRING_COMPARISONS(int)
VXL_STRING_COMPARISONS(double)
#undef VXL_STRING_COMPARISONS
inline bool operator==(const StringValue& a, const StringValue& b) {
  return Compare(a, b.c_str()) == 0;
}
inline bool operator!=(const StringValue& a, const StringValue& b) {
  return !(a == b);
}
inline bool operator<(const StringValue& a, const StringValue& b) {
  return Compare(a, b.c_str()) < 0;
}
inline bool operator>(const StringValue& a, const StringValue& b) {
  return b < a;
}
inline bool operator<=(const StringValue& a, const StringValue& b) {
  return !(b < a);
}
inline bool operator>=(const StringValue& a, const StringValue& b) {
  return !(a < b);
}

}  // namespace vxl
