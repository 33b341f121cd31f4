#pragma once
// Code page 932 (Shift_JIS) in both directions, from tables made once from
// ICU's double-byte mappings. Single bytes are mapped here as code page 932
// maps them (ICU's table swaps 1A, 1C and 7F and leaves 80, A0 and FD–FF
// unmapped), so that every single byte reads and writes back unchanged.
#include <cstdint>
#include <string>
#include <string_view>

namespace varnopel {

class ShiftJisTable {
 public:
  static const ShiftJisTable& instance();

  static bool isLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
  static bool isTrail(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

  // The character of a single byte that is not a lead byte.
  static char16_t single(unsigned b);
  // The character of a lead and trail byte, or 0xFFFF when they are unassigned.
  char16_t pair(unsigned lead, unsigned trail) const { return pairs_[(lead << 8) | trail]; }
  // The bytes of a BMP character: one byte (< 0x100), two (lead << 8 | trail),
  // or 0 when code page 932 has none. U+0000 is the byte 00.
  uint16_t bytes(char32_t c) const { return c < 0x10000 ? fromUnicode_[c] : 0; }
  // What an unmappable character is written as.
  std::string_view substitution() const { return {substitution_, substitutionSize_}; }

 private:
  ShiftJisTable();
  char16_t pairs_[0x10000];
  uint16_t fromUnicode_[0x10000];
  char substitution_[4];
  size_t substitutionSize_ = 0;
};

}  // namespace varnopel
