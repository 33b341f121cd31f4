#include "split/JisEncoder.h"

#include <unicode/ucnv.h>

#include <array>
#include <memory>
#include <mutex>

#include "decoding/Codec.h"
#include "decoding/CodePage.h"
#include "decoding/Utf8.h"

namespace varnopel {

namespace {

using Set = JisEncoder::Set;
using Code = JisEncoder::Code;

constexpr char kSubstitution = 0x1A;

std::string_view Escape(Set set) {
  switch (set) {
    case Set::Roman: return "\x1B(J";
    case Set::Jis0208: return "\x1B$B";
    case Set::Jis0212: return "\x1B$(D";
    case Set::Katakana: return "\x1B(I";
    default: return "\x1B(B";
  }
}

// What ICU writes for one character from the initial state, taken apart:
// an optional escape (or SO), the character's bytes, and the way back.
Code Parse(std::string_view bytes) {
  Code code;
  if (bytes.empty()) return code;
  if (bytes[0] == '\x0E') {
    code.set = Set::Katakana;
    bytes.remove_prefix(1);
  } else if (bytes[0] == '\x1B') {
    for (Set set : {Set::Roman, Set::Jis0208, Set::Jis0212, Set::Katakana}) {
      if (bytes.starts_with(Escape(set))) code.set = set;
    }
    if (bytes.starts_with("\x1B$@")) code.set = Set::Jis0208;
    if (code.set == Set::None) return code;
    bytes.remove_prefix(Escape(code.set).size());
  } else {
    code.set = Set::Ascii;
  }
  const size_t size = code.set == Set::Jis0208 || code.set == Set::Jis0212 ? 2 : 1;
  if (bytes.size() < size) return Code{};
  code.size = static_cast<uint8_t>(size);
  for (size_t k = 0; k < size; ++k) code.bytes[k] = bytes[k];
  return code;
}

// The code of every BMP character, made once by asking ICU one at a time.
const std::array<Code, 0x10000>& Table() {
  static std::array<Code, 0x10000> table;
  static std::once_flag once;
  std::call_once(once, [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, void (*)(UConverter*)> converter(ucnv_open(ConverterName(cp::Jis), &status),
                                                                 ucnv_close);
    if (U_FAILURE(status)) return;  // every character unmappable
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    for (char32_t c = 0x80; c < 0x10000; ++c) {
      if (IsSurrogate(c)) continue;
      const UChar in = static_cast<UChar>(c);
      char out[16];
      status = U_ZERO_ERROR;
      ucnv_resetFromUnicode(converter.get());
      const int32_t n = ucnv_fromUChars(converter.get(), out, sizeof out, &in, 1, &status);
      if (U_SUCCESS(status)) table[c] = Parse({out, static_cast<size_t>(n)});
    }
  });
  return table;
}

}  // namespace

void JisEncoder::switchTo(Set set, std::string& out) {
  if (set_ == set) return;
  out += Escape(set);
  set_ = set;
}

void JisEncoder::encode(std::string_view utf8, std::string& out) {
  const std::array<Code, 0x10000>& table = Table();
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  while (p < end) {
    const char32_t c = NextCodePoint(p, end);
    if (c < 0x80) {
      switchTo(Set::Ascii, out);
      out += static_cast<char>(c);
      continue;
    }
    const Code& code = c < 0x10000 ? table[c] : table[0];  // table[0] is never filled: unmappable
    if (code.set == Set::None) {
      switchTo(Set::Ascii, out);
      out += kSubstitution;
      continue;
    }
    switchTo(code.set, out);
    out.append(code.bytes, code.size);
  }
}

void JisEncoder::end(std::string& out) { switchTo(Set::Ascii, out); }

}  // namespace varnopel
