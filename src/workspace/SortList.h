#pragma once
// The list sort: quicksort with the middle element as pivot and Hoare
// partitioning, nesting into the smaller part. Its exact steps decide where
// lines that rank equal end up, which users see, so it is kept as it is.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace varnopel {

namespace detail {

template <class T, class Compare>
void SortRange(std::vector<T>& v, int64_t left, int64_t right, Compare& compare) {
  int64_t L = left;
  int64_t R = right;
  while (L < R) {
    if (R - L == 1) {
      if (compare(v[L], v[R]) > 0) std::swap(v[L], v[R]);
      break;
    }
    const T pivot = v[L + (R - L) / 2];
    int64_t I = L;
    int64_t J = R;
    do {
      while (I <= R && compare(v[I], pivot) < 0) ++I;
      while (J >= L && compare(v[J], pivot) > 0) --J;
      if (I <= J) {
        if (I != J) std::swap(v[I], v[J]);
        ++I;
        --J;
      }
    } while (I <= J);
    if (J - L > R - I) {
      if (I < R) SortRange(v, I, R, compare);
      R = J;
    } else {
      if (L < J) SortRange(v, L, J, compare);
      L = I;
    }
  }
}

}  // namespace detail

// compare(a, b) returns negative, zero or positive.
template <class T, class Compare>
void SortList(std::vector<T>& v, Compare compare) {
  if (v.size() >= 2) detail::SortRange(v, 0, static_cast<int64_t>(v.size()) - 1, compare);
}

}  // namespace varnopel
