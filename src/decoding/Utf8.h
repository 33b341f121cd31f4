#pragma once
// Generalized UTF-8, as the text is held inside: lone surrogates from UTF-16
// input keep their 3-byte form, so that such input round-trips.
#include <cstddef>

namespace varnopel {

constexpr bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Writes one code point (or lone surrogate); returns the end of what was written.
inline char* PutCodePoint(char* out, char32_t c) {
  if (c < 0x80) {
    *out++ = static_cast<char>(c);
  } else if (c < 0x800) {
    *out++ = static_cast<char>(0xC0 | (c >> 6));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out++ = static_cast<char>(0xE0 | (c >> 12));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out++ = static_cast<char>(0xF0 | (c >> 18));
    *out++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out++ = static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// Reads one code point (a lone surrogate reads as itself); an ill-formed
// byte reads as U+FFFD.
inline char32_t NextCodePoint(const unsigned char*& p, const unsigned char* end) {
  const unsigned c = *p++;
  if (c < 0x80) return c;
  const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
  if (extra < 0 || end - p < extra) return 0xFFFD;
  char32_t v = c & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0xFFFD;
    v = (v << 6) | (p[k] & 0x3F);
  }
  p += extra;
  return v;
}

}  // namespace varnopel
