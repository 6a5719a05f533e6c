// The text routines around StringValue: pieces, case, searching, replacing,
// splitting, number and URL forms, printing and the small numeric helpers.
//
// Everything works on byte counts, never on C-string ends, so the results are
// the same for texts that contain a NUL byte. Byte sets (trim sets, split
// delimiters) become a 256-entry table once per call.
#include "runtime/core/text.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace vxl {
namespace {

const unsigned char* Bytes(const StringValue& s) {
  return reinterpret_cast<const unsigned char*>(s.c_str());
}

struct ByteSet {
  bool has[256] = {};
  explicit ByteSet(const StringValue& set) {
    const unsigned char* p = Bytes(set);
    for (int i = 0; i < set.length(); ++i) has[p[i]] = true;
  }
  bool operator()(unsigned char c) const { return has[c]; }
};

// Horspool: on a mismatch, shift by the distance from the last occurrence of the
// window's last byte in the needle (its final byte excluded) to the needle's end.
struct SkipTable {
  int shift[256];
  SkipTable(const unsigned char* needle, int m) {
    for (int& s : shift) s = m;
    for (int i = 0; i < m - 1; ++i) shift[needle[i]] = m - 1 - i;
  }
};

// First occurrence at or after `start` that lies wholly inside text[0, n).
int Horspool(const unsigned char* text, int n, const unsigned char* needle, int m, int start,
             const SkipTable& skip) {
  const unsigned char last = needle[m - 1];
  for (int pos = start; pos <= n - m;) {
    const unsigned char c = text[pos + m - 1];
    if (c == last && std::memcmp(text + pos, needle, static_cast<size_t>(m - 1)) == 0) return pos;
    pos += skip.shift[c];
  }
  return -1;
}

}  // namespace

// ---- pieces of a text ---------------------------------------------------------------------

int Length(const StringValue& text) {
  return text.length();
}

StringValue Mid(const StringValue& text, int position, int count) {
  const int length = text.length();
  if (position < 0 || position >= length) return StringValue();
  const int available = length - position;
  const int take = count < 0 || count > available ? available : count;
  if (take < 1) return StringValue();
  return StringValue(text.c_str() + position, take);
}

StringValue TrimLeft(const StringValue& text, const StringValue& set) {
  const ByteSet in(set);
  const unsigned char* p = Bytes(text);
  const int length = text.length();
  int from = 0;
  while (from < length && in(p[from])) ++from;
  return StringValue(text.c_str() + from, length - from);
}

StringValue TrimRight(const StringValue& text, const StringValue& set) {
  const ByteSet in(set);
  const unsigned char* p = Bytes(text);
  int end = text.length();
  while (end > 0 && in(p[end - 1])) --end;
  return StringValue(text.c_str(), end);
}

StringValue Upper(const StringValue& text) {
  StringValue out(text);
  char* p = out.data();
  for (int i = 0; i < out.length(); ++i) {
    if (p[i] >= 'a' && p[i] <= 'z') p[i] = static_cast<char>(p[i] - 'a' + 'A');
  }
  return out;
}

StringValue Lower(const StringValue& text) {
  StringValue out(text);
  char* p = out.data();
  for (int i = 0; i < out.length(); ++i) {
    if (p[i] >= 'A' && p[i] <= 'Z') p[i] = static_cast<char>(p[i] - 'A' + 'a');
  }
  return out;
}

int Asc(const StringValue& text) {
  return text.length() > 0 ? text[0] : 0;
}

StringValue Chr(int code) {
  const char byte = static_cast<char>(static_cast<unsigned>(code) & 0xffu);
  return StringValue(&byte, 1);
}

StringValue PadRight(const StringValue& text, int n, const StringValue& fill) {
  StringValue out(text);
  if (fill.empty()) return out;
  while (out.length() < n) out += fill;
  return out;
}

// ---- searching and replacing ----------------------------------------------------------------

int FindText(const StringValue& text, const StringValue& needle, int start) {
  const int n = text.length(), m = needle.length();
  if (m == 0 || start >= n) return -1;
  if (start < 0) start = 0;
  const SkipTable skip(Bytes(needle), m);
  return Horspool(Bytes(text), n, Bytes(needle), m, start, skip);
}

int FindTextReverse(const StringValue& text, const StringValue& needle, int start) {
  const int n = text.length(), m = needle.length();
  if (m == 0) return -1;
  if (start < 0) start = n - m;
  if (start < 0) return -1;
  // Forward searches over the part of the text where an occurrence can begin at
  // or before `start`; the last one found wins.
  const int window = start <= n - m ? start + m : n;
  const SkipTable skip(Bytes(needle), m);
  int found = -1;
  for (int at = Horspool(Bytes(text), window, Bytes(needle), m, 0, skip); at >= 0;
       at = Horspool(Bytes(text), window, Bytes(needle), m, at + 1, skip)) {
    found = at;
  }
  return found;
}

StringValue ReplaceText(const StringValue& text, const StringValue& needle,
                        const StringValue& replacement) {
  const int n = text.length(), m = needle.length();
  if (m == 0 || m > n) return text;
  // One pass over the original: the part after an inserted replacement is the
  // untouched original suffix, so building the result as we go gives exactly
  // what replacing in place and rescanning after the replacement would.
  const SkipTable skip(Bytes(needle), m);
  StringValue out;
  int copied = 0;
  for (int at = Horspool(Bytes(text), n, Bytes(needle), m, 0, skip); at >= 0;
       at = Horspool(Bytes(text), n, Bytes(needle), m, at + m, skip)) {
    out.Append(text.c_str() + copied, at - copied);
    out += replacement;
    copied = at + m;
  }
  if (copied == 0) return text;
  out.Append(text.c_str() + copied, n - copied);
  return out;
}

int SplitText(const StringValue& text, ArrayValue<StringValue>& out, const StringValue& delimiters,
              bool dropEmpty) {
  // The text may be one of out's own elements, which the pushes overwrite.
  const StringValue copy(text);
  const ByteSet isDelimiter(delimiters);
  out.Redimension(0);
  const unsigned char* p = Bytes(copy);
  const int n = copy.length();
  int pos = 0;
  while (pos < n) {
    if (dropEmpty) {
      int next = pos;
      while (next < n && isDelimiter(p[next])) ++next;
      if (next == n) break;  // only delimiters left: no piece can follow
      pos = next;
    }
    int end = pos;
    while (end < n && !isDelimiter(p[end])) ++end;
    if (end == n) {
      out.Push(StringValue(copy.c_str() + pos, n - pos));
      break;
    }
    if (end > pos || !dropEmpty) out.Push(StringValue(copy.c_str() + pos, end - pos));
    pos = end + 1;
  }
  return out.Size(0);
}

// ---- number and URL forms -------------------------------------------------------------------

StringValue FormatNumber(int width, int decimals, double value) {
  constexpr int kLimit = 65536;
  if (width > kLimit) width = kLimit;
  if (width < -kLimit) width = -kLimit;
  if (decimals < 0) decimals = 0;
  if (decimals > kLimit) decimals = kLimit;
  char small[128];
  const int length = std::snprintf(small, sizeof small, "%*.*f", width, decimals, value);
  if (length <= 0) return StringValue();
  if (length < static_cast<int>(sizeof small)) return StringValue(small, length);
  StringValue out;
  out.Reserve(length, false);
  std::snprintf(out.data(), out.capacity(), "%*.*f", width, decimals, value);
  out.Recount();
  return out;
}

StringValue UrlEncode(const StringValue& text) {
  static const char kHex[] = "0123456789abcdef";
  const unsigned char* p = Bytes(text);
  StringValue out;
  if (text.length() < (1 << 28)) out.Reserve(text.length() * 3, false);  // grows by itself beyond
  for (int i = 0; i < text.length(); ++i) {
    const unsigned char c = p[i];
    const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (plain) {
      out.AppendChar(static_cast<char>(c));
      continue;
    }
    unsigned char bytes[2];
    int count = 0;
    if (c < 128) {
      bytes[count++] = c;
    } else {
      bytes[count++] = c < 192 ? 0xc2 : 0xc3;
      bytes[count++] = static_cast<unsigned char>((c & 0x3f) | 0x80);
    }
    for (int k = 0; k < count; ++k) {
      const char escape[3] = {'%', kHex[bytes[k] >> 4], kHex[bytes[k] & 15]};
      out.Append(escape, 3);
    }
  }
  return out;
}

// ---- output --------------------------------------------------------------------------------

void Print(const StringValue& text) {
  std::fputs(text.c_str(), stdout);
}
void Print(const char* text) {
  if (text) std::fputs(text, stdout);
}
void PrintError(const StringValue& text) {
  std::fputs(text.c_str(), stderr);
}

// ---- small numeric helpers -------------------------------------------------------------------

ColourRgb ColourComponents(int colour) {
  const uint32_t c = static_cast<uint32_t>(colour);
  return {static_cast<int>(c & 255u), static_cast<int>((c >> 8) & 255u),
          static_cast<int>((c >> 16) & 255u)};
}

double Clamp(double v, double lo, double hi) {
  const double low = v > lo ? v : lo;
  return hi < low ? hi : low;
}

double Wrap(double v, double lo, double hi) {
  const double d = hi - lo;
  if (lo <= v && v < hi) return v;
  if (hi <= v && v < hi + d) return v - d;
  if (lo - d <= v && v < lo) return v + d;
  const double period = std::fabs(std::trunc(d));
  if (!(period >= 1.0) || !std::isfinite(v)) return lo;
  double r = std::fmod(std::trunc(v - lo), period);
  if (r < 0) r += period;
  return lo + r;
}

double RoundDown(double v, int n) {
  const double scale = std::pow(10.0, n);
  const double product = v * scale;
  // In the 32-bit range this is the integer truncation the game was tuned on;
  // outside it a cast would be undefined, so truncate as a floating value.
  const double cut = (product > -2147483649.0 && product < 2147483648.0)
                         ? static_cast<double>(static_cast<int>(product))
                         : std::trunc(product);
  return cut / scale;
}

}  // namespace vxl
