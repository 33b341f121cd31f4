#pragma once
// Code page conversion through ICU, between the file's bytes and UTF-8.
#include <cstdint>
#include <functional>
#include <string>

#include "decoding/TextChunk.h"

namespace varnopel {

// The ICU converter that stands for a code page, or nullptr when there is
// none. UTF-8 and UTF-16 are handled without a converter.
const char* ConverterName(int32_t codePage);

// What a decoding met: bytes that do not decode (they became U+FFFD), and
// characters that text in the code page hardly ever holds (C1 controls and
// private use, which a wrong Japanese guess gives). Only Shift_JIS and EUC-JP
// look for the second.
struct DecodeFlags {
  bool invalid = false;
  bool unusual = false;
  bool doubtful() const { return invalid || unusual; }
};

// Decodes `size` bytes in `codePage` (a converter code page) to UTF-8; bytes
// that do not map become U+FFFD. In JIS a CR or LF ends a line whatever the
// shift state, and the state returns to ASCII there. Throws TextFileError
// for an unknown code page.
ByteBuffer DecodeToUtf8(int32_t codePage, const char* data, size_t size, size_t& outSize, DecodeFlags& flags,
                        const std::function<void()>& keepAlive = {});

// Windows-1252 to UTF-8 for one byte: the UTF-8 bytes and their count. The
// five unassigned bytes map to the C1 controls of the same value, so that
// every byte comes back unchanged when written again.
struct Utf8Char {
  char bytes[3];
  uint8_t size;
};
const Utf8Char* Ansi1252Table();  // 256 entries

}  // namespace varnopel
