#pragma once
// The list sort: quicksort with the middle element as pivot and Hoare
// partitioning, nesting into the smaller part. Its exact steps decide where
// lines that rank equal end up, which users see, so it is kept as it is.
#include <cstddef>
#include <cstdint>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace varnopel {

namespace detail {

// One partitioning pass over v[L..R] (R - L >= 2). Afterwards v[L..J] and
// v[I..R] are what remains to sort; anything between them is in place.
template <class T, class Compare>
std::pair<int64_t, int64_t> Partition(std::vector<T>& v, int64_t L, int64_t R, Compare& compare) {
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
  return {J, I};
}

template <class T, class Compare>
void SortRange(std::vector<T>& v, int64_t left, int64_t right, Compare& compare) {
  int64_t L = left;
  int64_t R = right;
  while (L < R) {
    if (R - L == 1) {
      if (compare(v[L], v[R]) > 0) std::swap(v[L], v[R]);
      break;
    }
    const auto [J, I] = Partition(v, L, R, compare);
    if (J - L > R - I) {
      if (I < R) SortRange(v, I, R, compare);
      R = J;
    } else {
      if (L < J) SortRange(v, L, J, compare);
      L = I;
    }
  }
}

// Below this many elements a range is not worth a thread.
constexpr int64_t kParallelMinimum = 100000;

// SortRange with the two parts of each partition sorted side by side while
// threads are left. The parts never touch each other's elements, so the
// result is exactly SortRange's.
template <class T, class Compare>
void ParallelSortRange(std::vector<T>& v, int64_t L, int64_t R, Compare& compare, unsigned threads) {
  if (threads < 2 || R - L < kParallelMinimum) {
    SortRange(v, L, R, compare);
    return;
  }
  const auto [J, I] = Partition(v, L, R, compare);
  std::thread other;
  try {
    other = std::thread([&v, &compare, L, J, threads] { ParallelSortRange(v, L, J, compare, threads / 2); });
  } catch (const std::system_error&) {  // no thread to be had: this one does both
    SortRange(v, L, J, compare);
  }
  ParallelSortRange(v, I, R, compare, threads - threads / 2);
  if (other.joinable()) other.join();
}

}  // namespace detail

// compare(a, b) returns negative, zero or positive. The reference sort, on
// one thread.
template <class T, class Compare>
void SortList(std::vector<T>& v, Compare compare) {
  if (v.size() >= 2) detail::SortRange(v, 0, static_cast<int64_t>(v.size()) - 1, compare);
}

// The same result as SortList, on all cores for large lists; compare must be
// safe to call from several threads at once. The pivot splits unevenly, so
// there are a few more parts than cores to even out the load.
template <class T, class Compare>
void ParallelSortList(std::vector<T>& v, Compare compare) {
  const unsigned threads = std::thread::hardware_concurrency() * 4;
  if (v.size() >= 2) detail::ParallelSortRange(v, 0, static_cast<int64_t>(v.size()) - 1, compare, threads);
}

}  // namespace varnopel
