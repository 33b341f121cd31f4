#pragma once
// The list sort: quicksort with the middle element as pivot and Hoare
// partitioning, nesting into the smaller part. Its exact steps decide where
// lines that rank equal end up, which users see, so it is kept as it is.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace varnopel {

namespace detail {

// Hoare partitioning of v[L..R] around pivot, its scans standing at I and J.
// Returns {J, I}: v[L..J] and v[I..R] are what remains to sort; anything
// between them is in place.
template <class T, class Compare>
std::pair<int64_t, int64_t> FinishPartition(T* v, int64_t L, int64_t R, Compare& compare, const T& pivot, int64_t I,
                                            int64_t J) {
  while (I <= J) {
    while (I <= R && compare(v[I], pivot) < 0) ++I;
    while (J >= L && compare(v[J], pivot) > 0) --J;
    if (I <= J) {
      if (I != J) std::swap(v[I], v[J]);
      ++I;
      --J;
    }
  }
  return {J, I};
}

// One partitioning pass over v[L..R] (R - L >= 2), the middle element as pivot.
template <class T, class Compare>
std::pair<int64_t, int64_t> Partition(T* v, int64_t L, int64_t R, Compare& compare) {
  const T pivot = v[L + (R - L) / 2];
  return FinishPartition(v, L, R, compare, pivot, L, R);
}

// The same pass with the same swaps, but the comparisons are made a block
// at a time, without a branch on each result: the scans' stops are known
// beforehand and the k-th stop on the left is swapped with the k-th on the
// right. While the blocks come from the part neither scan has reached, no
// swap has touched them, so the stops are the ones the scans would find;
// when too little is left for a block, the plain scans finish the pass.
template <class T, class Compare>
std::pair<int64_t, int64_t> PartitionInBlocks(T* v, int64_t L, int64_t R, Compare& compare) {
  constexpr int kBlock = 128;
  const T pivot = v[L + (R - L) / 2];
  unsigned char left[kBlock], right[kBlock];  // stops, as offsets into the block
  int leftCount = 0, leftNext = 0, rightCount = 0, rightNext = 0;
  int64_t leftStart = L, rightStart = R;  // first element of each block (the right one runs down)
  int64_t from = L, to = R;               // the part neither scan has reached
  int64_t I = L, J = R;
  for (;;) {
    if (leftNext == leftCount) {
      if (to - from + 1 < kBlock) break;
      leftStart = from;
      leftCount = leftNext = 0;
      for (int k = 0; k < kBlock; ++k) {
        left[leftCount] = static_cast<unsigned char>(k);
        leftCount += compare(v[leftStart + k], pivot) >= 0;
      }
      from += kBlock;
    }
    if (rightNext == rightCount) {
      if (to - from + 1 < kBlock) break;
      rightStart = to;
      rightCount = rightNext = 0;
      for (int k = 0; k < kBlock; ++k) {
        right[rightCount] = static_cast<unsigned char>(k);
        rightCount += compare(v[rightStart - k], pivot) <= 0;
      }
      to -= kBlock;
    }
    const int pairs = std::min(leftCount - leftNext, rightCount - rightNext);
    for (int k = 0; k < pairs; ++k) std::swap(v[leftStart + left[leftNext + k]], v[rightStart - right[rightNext + k]]);
    if (pairs > 0) {
      leftNext += pairs;
      rightNext += pairs;
      I = leftStart + left[leftNext - 1] + 1;
      J = rightStart - right[rightNext - 1] - 1;
    }
  }
  return FinishPartition(v, L, R, compare, pivot, I, J);
}

// kBlocks picks PartitionInBlocks over Partition: the same result, faster.
template <bool kBlocks, class T, class Compare>
void SortRange(T* v, int64_t left, int64_t right, Compare& compare) {
  int64_t L = left;
  int64_t R = right;
  while (L < R) {
    if (R - L == 1) {
      if (compare(v[L], v[R]) > 0) std::swap(v[L], v[R]);
      break;
    }
    const auto [J, I] = kBlocks ? PartitionInBlocks(v, L, R, compare) : Partition(v, L, R, compare);
    if (J - L > R - I) {
      if (I < R) SortRange<kBlocks>(v, I, R, compare);
      R = J;
    } else {
      if (L < J) SortRange<kBlocks>(v, L, J, compare);
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
void ParallelSortRange(T* v, int64_t L, int64_t R, Compare& compare, unsigned threads) {
  if (threads < 2 || R - L < kParallelMinimum) {
    SortRange<true>(v, L, R, compare);
    return;
  }
  const std::pair<int64_t, int64_t> parts = PartitionInBlocks(v, L, R, compare);
  const int64_t J = parts.first;  // a plain variable, which every compiler lets a lambda capture
  const int64_t I = parts.second;
  std::thread other;
  try {
    other = std::thread([v, &compare, L, J, threads] { ParallelSortRange(v, L, J, compare, threads / 2); });
  } catch (const std::system_error&) {  // no thread to be had: this one does both
    SortRange<true>(v, L, J, compare);
  }
  ParallelSortRange(v, I, R, compare, threads - threads / 2);
  if (other.joinable()) other.join();
}

}  // namespace detail

// compare(a, b) returns negative, zero or positive. The reference sort, on
// one thread.
template <class T, class Compare>
void SortList(std::vector<T>& v, Compare compare) {
  if (v.size() >= 2) detail::SortRange<false>(v.data(), 0, static_cast<int64_t>(v.size()) - 1, compare);
}

// The same result as SortList, faster: partitions made in blocks, and on all
// cores for large lists; compare must be safe to call from several threads
// at once. The pivot splits unevenly, so
// there are a few more parts than cores to even out the load.
template <class T, class Compare>
void ParallelSortList(std::span<T> v, Compare compare) {
  const unsigned threads = std::thread::hardware_concurrency() * 4;
  if (v.size() >= 2) detail::ParallelSortRange(v.data(), 0, static_cast<int64_t>(v.size()) - 1, compare, threads);
}

}  // namespace varnopel
