#pragma once
// Fast line scan shared by the reader and the line list.
#include <algorithm>
#include <cstdint>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace varnopel {
namespace detail {

// Bit k set when byte k of the 16 at p is CR or LF.
inline unsigned LineEndMask16(const char* p) {
#if defined(__SSE2__)
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')))));
#else
  unsigned mask = 0;
  for (int k = 0; k < 16; ++k) mask |= unsigned(p[k] == '\r' || p[k] == '\n') << k;
  return mask;
#endif
}

}  // namespace detail

// Number of line ends: CR LF, lone CR and lone LF. The number of lines is at
// most one more.
inline size_t CountLineEnds(std::string_view text) {
  const char* p = text.data();
  const size_t size = text.size();
  size_t count = 0;
  size_t i = 0;
#if defined(__SSE2__)
  // Byte counters (a CR or LF counts one, the CR of a CR LF takes it back),
  // summed before any of them can pass 255. Each block also reads the byte
  // after it.
  while (size - i >= 17) {
    const size_t blocks = std::min<size_t>((size - i - 1) / 16, 255);
    __m128i counters = _mm_setzero_si128();
    for (size_t b = 0; b < blocks; ++b, i += 16) {
      const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + 1));
      const __m128i cr = _mm_cmpeq_epi8(v, _mm_set1_epi8('\r'));
      const __m128i ends = _mm_or_si128(cr, _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
      const __m128i pairs = _mm_and_si128(cr, _mm_cmpeq_epi8(next, _mm_set1_epi8('\n')));
      counters = _mm_add_epi8(_mm_sub_epi8(counters, ends), pairs);
    }
    const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
    count += static_cast<size_t>(_mm_cvtsi128_si32(sums)) + static_cast<size_t>(_mm_extract_epi16(sums, 4));
  }
#endif
  for (; i < size; ++i) {
    if (p[i] == '\n') ++count;
    else if (p[i] == '\r') count += !(i + 1 < size && p[i + 1] == '\n');
  }
  return count;
}

template <class Visit>
void ForEachLine(std::string_view text, std::string_view lineBreak, Visit&& visit) {
  const char* data = text.data();
  const size_t size = text.size();
  size_t start = 0;  // where the current line begins
  // A line ends at each CR LF, lone CR and lone LF; the LF of a CR LF pair
  // is passed over (its bit is then behind `start`).
  auto lineEnd = [&](size_t j) {
    if (j < start) return;
    visit(start, j - start);
    start = (data[j] == '\r' && j + 1 < size && data[j + 1] == '\n') ? j + 2 : j + 1;
  };
  size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    for (unsigned mask = detail::LineEndMask16(data + i); mask != 0; mask &= mask - 1) {
      lineEnd(i + static_cast<size_t>(__builtin_ctz(mask)));
    }
  }
  for (; i < size; ++i) {
    if (data[i] == '\r' || data[i] == '\n') lineEnd(i);
  }
  if (start < size) visit(start, size - start);
  // The re-joined text of a "\r" file that ends in LF gets a final CR after
  // that LF, which reads as one more, empty, line.
  if (lineBreak == "\r" && size > 0 && data[size - 1] == '\n') visit(size, 0);
}

}  // namespace varnopel
