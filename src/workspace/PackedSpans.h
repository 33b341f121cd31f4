#pragma once
// The spans of a list packed to eight bytes in their own storage while it is
// sorted: a 48-bit address and a 16-bit length, longer lengths kept aside.
// The third of the storage so freed is given back to the system, so that
// the text, the spans and the sort's records together stay within one and a
// half times the text's size.
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "workspace/LineList.h"

namespace varnopel {

class PackedSpans {
 public:
  // Packs v in place; false, with v untouched, when an address needs more
  // than 48 bits. Until unpacked, v must only be read through this object.
  bool pack(std::vector<LineList::Line>& v);

  LineList::Line line(size_t index) const {
    const uint64_t packed = packed_[index];
    const uint32_t size = static_cast<uint32_t>(packed >> 48);
    return {reinterpret_cast<const char*>(packed & kAddressMask), size == kLong ? longSize(index) : size};
  }
  std::string_view view(size_t index) const { return line(index).view(); }
  const void* address(size_t index) const { return packed_ + index; }

 private:
  static constexpr uint64_t kAddressMask = (uint64_t{1} << 48) - 1;
  static constexpr uint32_t kLong = 0xFFFF;
  uint32_t longSize(size_t index) const;

  const uint64_t* packed_ = nullptr;
  std::vector<std::pair<size_t, uint32_t>> long_;  // by index
};

}  // namespace varnopel
