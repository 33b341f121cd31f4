#pragma once
// Fast line scan shared by the reader and the line list.
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace varnopel {
namespace detail {

// Position of the first CR or LF at or after `from`, or `size` when none.
inline size_t FindLineEnd(const char* data, size_t from, size_t size) {
  size_t i = from;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; i + 16 <= size; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
    if (mask != 0) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
  }
#endif
  for (; i < size; ++i) {
    if (data[i] == '\r' || data[i] == '\n') return i;
  }
  return size;
}

}  // namespace detail

template <class Visit>
void ForEachLine(std::string_view text, std::string_view lineBreak, Visit&& visit) {
  const char* data = text.data();
  const size_t size = text.size();
  size_t pos = 0;
  while (pos < size) {
    size_t end = detail::FindLineEnd(data, pos, size);
    visit(pos, end - pos);
    pos = end;
    if (pos < size && data[pos] == '\r') {
      ++pos;
      if (pos < size && data[pos] == '\n') ++pos;
    } else if (pos < size) {
      ++pos;  // a lone LF
    }
  }
  // The re-joined text of a "\r" file that ends in LF gets a final CR after
  // that LF, which reads as one more, empty, line.
  if (lineBreak == "\r" && size > 0 && data[size - 1] == '\n') visit(size, 0);
}

}  // namespace varnopel
