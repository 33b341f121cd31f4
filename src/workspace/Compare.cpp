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

  LogicalCursor(const unsigned char* from, const unsigned char* to) : p(from) {
    const void* zero = std::memchr(from, 0, static_cast<size_t>(to - from));
    end = zero ? static_cast<const unsigned char*>(zero) : to;
  }
  explicit LogicalCursor(std::string_view s)
      : LogicalCursor(reinterpret_cast<const unsigned char*>(s.data()),
                      reinterpret_cast<const unsigned char*>(s.data()) + s.size()) {}
  bool done() const { return p >= end; }
  bool atDigit() const { return *p >= '0' && *p <= '9'; }
  // The digits of a number without its leading zeros.
  std::string_view number() {
    while (p < end && *p == '0' && p + 1 < end && p[1] >= '0' && p[1] <= '9') ++p;
    const unsigned char* start = p;
    while (p < end && *p >= '0' && *p <= '9') ++p;
    return {reinterpret_cast<const char*>(start), static_cast<size_t>(p - start)};
  }
  char32_t folded() {
    return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(Next(p, end)), U_FOLD_CASE_DEFAULT));
  }
};

int CompareNumbers(std::string_view m, std::string_view n) {
  if (m.size() != n.size()) return m.size() < n.size() ? -1 : 1;
  const int c = m.compare(n);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

int CompareLogicalFrom(LogicalCursor x, LogicalCursor y) {
  while (!x.done() && !y.done()) {
    const bool dx = x.atDigit();
    const bool dy = y.atDigit();
    if (dx && dy) {
      const int c = CompareNumbers(x.number(), y.number());
      if (c != 0) return c;
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

// Case folding of ASCII, as u_foldCase does it.
unsigned FoldAscii(unsigned c) { return c - 'A' < 26u ? c + ('a' - 'A') : c; }

}  // namespace

int CompareLogicalPlain(std::string_view a, std::string_view b) {
  return CompareLogicalFrom(LogicalCursor(a), LogicalCursor(b));
}

int CompareLogical(std::string_view a, std::string_view b) {
  // Most text is ASCII: fold it without ICU and find U+0000 on the way
  // instead of beforehand. At the first other byte on either side the plain
  // walk takes over where this one stands, between two characters.
  const auto* p = reinterpret_cast<const unsigned char*>(a.data());
  const auto* q = reinterpret_cast<const unsigned char*>(b.data());
  const auto* pEnd = p + a.size();
  const auto* qEnd = q + b.size();
  for (;;) {
    const unsigned c = p < pEnd ? *p : 0;
    const unsigned d = q < qEnd ? *q : 0;
    if ((c | d) >= 0x80) break;
    if (c == 0 || d == 0) return c == 0 ? (d == 0 ? 0 : -1) : 1;
    const bool dc = c - '0' < 10u;
    const bool dd = d - '0' < 10u;
    if (dc && dd) {
      LogicalCursor x{p, pEnd};  // digits stop at U+0000 anyway
      LogicalCursor y{q, qEnd};
      const int r = CompareNumbers(x.number(), y.number());
      if (r != 0) return r;
      p = x.p;
      q = y.p;
      continue;
    }
    // A number against a character decides here: no character folds to '0'.
    const unsigned fc = dc ? '0' : FoldAscii(c);
    const unsigned fd = dd ? '0' : FoldAscii(d);
    if (fc != fd) return fc < fd ? -1 : 1;
    ++p;
    ++q;
  }
  return CompareLogicalFrom(LogicalCursor(p, pEnd), LogicalCursor(q, qEnd));
}

namespace {

// Packs up to eight key bytes, zero-padded, into a number that orders as
// the bytes do.
uint64_t BigEndian(const unsigned char* bytes, size_t count) {
  uint64_t key = 0;
  for (size_t k = 0; k < 8; ++k) key = (key << 8) | (k < count ? bytes[k] : 0);
  return key;
}

}  // namespace

bool OrdinalKey(std::string_view line, uint64_t& key) {
  const auto* p = reinterpret_cast<const unsigned char*>(line.data());
  const size_t count = std::min<size_t>(line.size(), 8);
  key = BigEndian(p, count);
  // Lead bytes EE and up start characters that UTF-16 orders apart from
  // byte order.
  for (size_t k = 0; k < count; ++k) {
    if (p[k] >= 0xEE) return false;
  }
  return true;
}

bool LogicalKey(std::string_view line, uint64_t& key) {
  // The key is the start of a byte string that orders as the line does:
  // a character is its folded code point in UTF-8 (which keeps code point
  // order); a number is '0' (it compares as that against characters), its
  // digit count, then its digits two to a byte; the end is a zero byte,
  // below every character. Two lines compare as these strings do, so where
  // the first eight bytes differ they decide.
  unsigned char bytes[8 + 4];
  size_t n = 0;
  LogicalCursor x(line);
  while (n < 8 && !x.done()) {
    if (x.atDigit()) {
      const std::string_view digits = x.number();
      if (digits.size() > 255) return false;  // the count needs more than a byte
      bytes[n++] = '0';
      bytes[n++] = static_cast<unsigned char>(digits.size());
      for (size_t k = 0; k < digits.size() && n < 8; k += 2) {
        const unsigned high = static_cast<unsigned>(digits[k] - '0');
        const unsigned low = k + 1 < digits.size() ? static_cast<unsigned>(digits[k + 1] - '0') : 0;
        bytes[n++] = static_cast<unsigned char>(high << 4 | low);
      }
      continue;
    }
    const char32_t c = *x.p < 0x80 ? FoldAscii(*x.p++) : x.folded();
    if (c < 0x80) {
      bytes[n++] = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
      bytes[n++] = static_cast<unsigned char>(0xC0 | c >> 6);
      bytes[n++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      bytes[n++] = static_cast<unsigned char>(0xE0 | c >> 12);
      bytes[n++] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
      bytes[n++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
      bytes[n++] = static_cast<unsigned char>(0xF0 | c >> 18);
      bytes[n++] = static_cast<unsigned char>(0x80 | (c >> 12 & 0x3F));
      bytes[n++] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
      bytes[n++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
  }
  key = BigEndian(bytes, std::min<size_t>(n, 8));  // a line that ends within the key leaves zeros
  return true;
}

}  // namespace varnopel
