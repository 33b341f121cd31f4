#include "workspace/Compare.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstring>

namespace varnopel {

namespace {

// Reads one code point of generalized UTF-8 (lone surrogates allowed). An
// ill-formed byte reads as itself, so that any bytes still compare.
char32_t Next(const unsigned char*& p, const unsigned char* end) {
  const unsigned c = *p++;
  if (c < 0xC0) return c;
  const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
  if (end - p < extra) return c;
  char32_t v = c & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if ((p[k] & 0xC0) != 0x80) return c;
    v = (v << 6) | (p[k] & 0x3F);
  }
  p += extra;
  return v;
}

// Walks a UTF-8 string as UTF-16 code units.
struct Utf16Units {
  const unsigned char* p;
  const unsigned char* end;
  char16_t low = 0;  // the second unit of a pair still to come
  bool done() const { return low == 0 && p >= end; }
  char16_t next() {
    if (low != 0) {
      char16_t u = low;
      low = 0;
      return u;
    }
    char32_t c = Next(p, end);
    if (c < 0x10000) return static_cast<char16_t>(c);
    c -= 0x10000;
    low = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    return static_cast<char16_t>(0xD800 + (c >> 10));
  }
};

}  // namespace

int CompareOrdinal(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  size_t i = 0;
  // Byte order is UTF-16 order until the first difference.
  const auto mismatch = std::mismatch(a.begin(), a.begin() + static_cast<ptrdiff_t>(common), b.begin());
  i = static_cast<size_t>(mismatch.first - a.begin());
  if (i == common) return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
  const unsigned x = static_cast<unsigned char>(a[i]);
  const unsigned y = static_cast<unsigned char>(b[i]);
  if (x < 0xE0 && y < 0xE0) return x < y ? -1 : 1;  // no surrogate or U+E000.. question arises
  // Compare code units from the start of the character that differs. The
  // bytes before i are the same in both, so stepping back while either side
  // is inside a character finds the same start for both.
  auto inside = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
  while (i > 0 && (inside(a[i]) || inside(b[i]))) --i;
  const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
  const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
  Utf16Units ua{pa + i, pa + a.size()};
  Utf16Units ub{pb + i, pb + b.size()};
  while (!ua.done() && !ub.done()) {
    const char16_t u = ua.next();
    const char16_t v = ub.next();
    if (u != v) return u < v ? -1 : 1;
  }
  return ua.done() ? (ub.done() ? 0 : -1) : 1;
}

namespace {

struct LogicalCursor {
  const unsigned char* p;
  const unsigned char* end;

  LogicalCursor(std::string_view s) : p(reinterpret_cast<const unsigned char*>(s.data())) {
    const void* zero = std::memchr(s.data(), 0, s.size());
    end = zero ? static_cast<const unsigned char*>(zero) : p + s.size();
  }
  bool done() const { return p >= end; }
  bool atDigit() const { return *p >= '0' && *p <= '9'; }
  // The digits of a number without its leading zeros.
  std::string_view number() {
    while (p < end && *p == '0' && p + 1 < end && p[1] >= '0' && p[1] <= '9') ++p;
    const unsigned char* start = p;
    while (p < end && *p >= '0' && *p <= '9') ++p;
    return {reinterpret_cast<const char*>(start), static_cast<size_t>(p - start)};
  }
  char32_t folded() { return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(Next(p, end)), U_FOLD_CASE_DEFAULT)); }
};

}  // namespace

int CompareLogical(std::string_view a, std::string_view b) {
  LogicalCursor x(a);
  LogicalCursor y(b);
  while (!x.done() && !y.done()) {
    const bool dx = x.atDigit();
    const bool dy = y.atDigit();
    if (dx && dy) {
      const std::string_view m = x.number();
      const std::string_view n = y.number();
      if (m.size() != n.size()) return m.size() < n.size() ? -1 : 1;
      const int c = m.compare(n);
      if (c != 0) return c < 0 ? -1 : 1;
      continue;
    }
    const char32_t cx = dx ? U'0' : x.folded();
    const char32_t cy = dy ? U'0' : y.folded();
    if (dx) x.number();
    if (dy) y.number();
    if (cx != cy) return cx < cy ? -1 : 1;
  }
  return x.done() ? (y.done() ? 0 : -1) : 1;
}

}  // namespace varnopel
