// Vexel runtime: the text routines around StringValue.
//
// Substrings, trimming, case, character codes, searching, replacing, splitting,
// number formatting, URL encoding, printing, and the small numeric helpers the
// game keeps beside them. Texts are plain bytes (ISO 8859-1 in the game); every
// routine works on the bytes up to the string's length, so a NUL byte inside a
// string is an ordinary byte. None of these routines fails: a position or count
// out of range gives an empty or unchanged result as described per entry.
#pragma once

#include "runtime/core/array_value.h"
#include "runtime/core/string_value.h"

namespace vxl {

// ---- pieces of a text -------------------------------------------------------------------
// The number of bytes.
int Length(const StringValue& text);
// Bytes [position, position + count). A negative count means "to the end"; the
// count is cut at the end of the text. Empty when position < 0, position >= the
// length, or the cut count is below 1. Mid("hello", 1, 3) == "ell".
StringValue Mid(const StringValue& text, int position, int count);
// The text from its first byte that is not in `set` (TrimLeft) or up to its last
// byte that is not in `set` (TrimRight); empty when every byte is in the set.
StringValue TrimLeft(const StringValue& text, const StringValue& set);
StringValue TrimRight(const StringValue& text, const StringValue& set);
// Copies with the ASCII letters changed (C locale: bytes of 128 and up never change).
StringValue Upper(const StringValue& text);
StringValue Lower(const StringValue& text);
// The first byte as 0-255; 0 for an empty text.
int Asc(const StringValue& text);
// A one-byte string holding the low 8 bits of `code`; its length is 1 even for 0.
StringValue Chr(int code);
// Appends `fill` while the text is shorter than n bytes (a fill longer than one
// byte may overshoot n). An empty fill cannot make progress: the text comes back
// unchanged instead of looping.
StringValue PadRight(const StringValue& text, int n, const StringValue& fill);

// ---- searching and replacing ------------------------------------------------------------
// Horspool search with a skip table built per call. FindText: the position of
// the first occurrence at or after `start`, or -1; -1 as well when the needle is
// empty or start >= the length. A negative start searches from 0.
int FindText(const StringValue& text, const StringValue& needle, int start = 0);
// The position of the last occurrence that begins at or before `start`, or -1
// (overlapping occurrences count). A negative start means
// length(text) - length(needle), i.e. anywhere.
int FindTextReverse(const StringValue& text, const StringValue& needle, int start = -1);
// Every occurrence, scanned left to right without overlap, replaced; the scan
// goes on right after each inserted replacement, so a replacement is never
// searched again ("a" -> "aa" doubles each "a" once). An empty needle changes nothing.
StringValue ReplaceText(const StringValue& text, const StringValue& needle,
                        const StringValue& replacement);
// Splits `text` at every byte of `delimiters` into `out` (emptied first, its
// storage kept) and returns the number of pieces. Without dropEmpty, a piece
// between two delimiters or before a leading one is an empty piece, but a
// trailing delimiter adds no empty last piece ("a,,b" -> a|""|b, ",a" -> ""|a,
// "a," -> a). With dropEmpty, runs of delimiters count as one and no piece is
// empty. An empty text gives 0. `text` may be an element of `out`.
int SplitText(const StringValue& text, ArrayValue<StringValue>& out, const StringValue& delimiters,
              bool dropEmpty);

// ---- number and URL forms ---------------------------------------------------------------
// printf "%<width>.<decimals>f": FormatNumber(6, 2, 3.14159) == "  3.14". A
// negative width left-justifies, as the "-" flag would; negative decimals count
// as 0. No length limit on the result; width and decimals are held to at most
// 65536 either way.
StringValue FormatNumber(int width, int decimals, double value);
// Letters and digits stay; every other byte below 128 becomes "%xx" (lowercase
// hex, a blank is "%20"); a byte of 128 or more is a Latin-1 character and
// becomes the two percent-encoded bytes of its UTF-8 form (0xE9 -> "%c3%a9").
StringValue UrlEncode(const StringValue& text);

// ---- output ----------------------------------------------------------------------------
// Writes the text to standard output / standard error as it is, no newline
// added. Like the C "%s" they stop at a NUL byte inside the string.
void Print(const StringValue& text);
void Print(const char* text);
void PrintError(const StringValue& text);

// ---- small numeric helpers ---------------------------------------------------------------
// A colour value is red + 256 * green + 65536 * blue; each component is 0-255.
struct ColourRgb {
  int red;
  int green;
  int blue;
};
ColourRgb ColourComponents(int colour);
// min(hi, max(v, lo)): hi wins when lo > hi.
double Clamp(double v, double lo, double hi);
// With d = hi - lo: v itself inside [lo, hi); one period d added or taken away
// when v lies within one period outside; any other v becomes lo + r, r being
// trunc(v - lo) modulo trunc(d) taken in [0, |trunc(d)|) (0 when trunc(d) is 0).
// A value that is not finite becomes lo.
double Wrap(double v, double lo, double hi);
// trunc(v * 10^n) / 10^n, the product truncated toward zero: RoundDown(2.789, 2)
// == 2.78, RoundDown(-2.789, 2) == -2.78. Products beyond the 32-bit range are
// truncated as floating values rather than wrapped.
double RoundDown(double v, int n);

}  // namespace vxl
