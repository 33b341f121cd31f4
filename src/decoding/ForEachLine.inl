#pragma once
// Fast line scan shared by the reader and the line list.
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

// Number of CR and LF bytes: an upper bound for the number of lines, less one.
inline size_t CountLineEndBytes(std::string_view text) {
  size_t count = 0;
  size_t i = 0;
  for (; i + 16 <= text.size(); i += 16) count += static_cast<size_t>(__builtin_popcount(detail::LineEndMask16(text.data() + i)));
  for (; i < text.size(); ++i) count += text[i] == '\r' || text[i] == '\n';
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
