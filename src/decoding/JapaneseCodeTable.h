#pragma once
// Shift_JIS (code page 932) and EUC-JP in both directions, from tables made
// once from ICU's mappings, so that a file read and written again keeps its
// bytes:
// - Shift_JIS single bytes map as code page 932 maps them (ICU's table swaps
//   1A, 1C and 7F and leaves 80, A0 and FD–FF unmapped);
// - a character that ICU reads from a code but would not write back (a
//   one-way mapping) is written as that code.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "decoding/Codec.h"

namespace varnopel {

class JapaneseCodeTable {
 public:
  // The table of 932 or 20932; nullptr for any other code page.
  static const JapaneseCodeTable* forCodePage(int32_t codePage);

  // Decodes bytes to UTF-8 at `out` (room for three bytes a byte); codes
  // that do not decode become U+FFFD. Returns the end of the text.
  char* decode(const unsigned char* p, size_t size, char* out, DecodeFlags& flags,
               const std::function<void()>& keepAlive) const;
  // Appends the bytes of the UTF-8 text; a character without a code (a lone
  // surrogate too) becomes the substitution character.
  void encode(std::string_view utf8, std::string& out) const;

 private:
  explicit JapaneseCodeTable(int32_t codePage);
  void putCode(char32_t c, std::string& out) const;

  static constexpr char16_t kNone = 0xFFFF;
  enum Kind : uint8_t { Single, PairLead, TripleLead };
  Kind kind_[256] = {};
  bool trail_[256] = {};
  char16_t singles_[256];      // kNone: not a character alone
  char16_t pairs_[0x10000];    // lead << 8 | trail
  char16_t triples_[0x10000];  // EUC-JP 8F xx yy, by xx << 8 | yy
  uint32_t codes_[0x10000];    // BMP character to bytes: count << 24 | bytes; 0 for none
  std::string substitution_;
};

}  // namespace varnopel
