#include "decoding/JapaneseCodeTable.h"

#include <unicode/ucnv.h>

#include <memory>
#include <mutex>
#include <stdexcept>

#include "decoding/CodePage.h"
#include "decoding/Utf8.h"

namespace varnopel {

namespace {

// Code page 932's own single bytes beyond ASCII and halfwidth katakana.
constexpr struct {
  unsigned byte;
  char16_t character;
} kShiftJisExtraSingles[] = {{0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

constexpr bool In(unsigned v, unsigned lo, unsigned hi) { return v >= lo && v <= hi; }

// C1 controls and private use: what a wrong Japanese guess gives.
constexpr bool IsUnusual(char32_t c) { return In(c, 0x80, 0x9F) || In(c, 0xE000, 0xF8FF); }

constexpr size_t kPiece = size_t{4} << 20;

}  // namespace

const JapaneseCodeTable* JapaneseCodeTable::forCodePage(int32_t codePage) {
  // Made on first use and kept to the end: half a megabyte each.
  static std::once_flag onceSjis, onceEuc;
  static const JapaneseCodeTable* sjis = nullptr;
  static const JapaneseCodeTable* euc = nullptr;
  if (codePage == cp::ShiftJis) {
    std::call_once(onceSjis, [] { sjis = new JapaneseCodeTable(cp::ShiftJis); });
    return sjis;
  }
  if (codePage == cp::EucJp) {
    std::call_once(onceEuc, [] { euc = new JapaneseCodeTable(cp::EucJp); });
    return euc;
  }
  return nullptr;
}

JapaneseCodeTable::JapaneseCodeTable(int32_t codePage) {
  const bool sjis = codePage == cp::ShiftJis;
  for (unsigned b = 0; b < 256; ++b) {
    if (sjis) {
      kind_[b] = In(b, 0x81, 0x9F) || In(b, 0xE0, 0xFC) ? PairLead : Single;
      trail_[b] = In(b, 0x40, 0xFC) && b != 0x7F;
    } else {
      kind_[b] = b == 0x8F ? TripleLead : b == 0x8E || In(b, 0xA1, 0xFE) ? PairLead : Single;
      trail_[b] = In(b, 0xA1, 0xFE);
    }
  }

  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, void (*)(UConverter*)> converter(ucnv_open(ConverterName(codePage), &status), ucnv_close);
  if (U_FAILURE(status)) throw std::runtime_error("code page not supported: " + std::to_string(codePage));
  UConverter* c = converter.get();
  ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  auto decodeOne = [c](const char* in, int32_t size) -> char16_t {
    UChar out[4];
    UErrorCode s = U_ZERO_ERROR;
    ucnv_resetToUnicode(c);
    const int32_t n = ucnv_toUChars(c, out, 4, in, size, &s);
    return U_SUCCESS(s) && n == 1 && !IsSurrogate(out[0]) ? out[0] : kNone;
  };

  for (char16_t& x : pairs_) x = kNone;
  for (char16_t& x : triples_) x = kNone;
  for (unsigned b = 0; b < 256; ++b) {
    const char in = static_cast<char>(b);
    singles_[b] = kind_[b] == Single ? decodeOne(&in, 1) : kNone;
    if (kind_[b] != PairLead) continue;
    for (unsigned t = 0; t < 256; ++t) {
      if (!trail_[t]) continue;
      const char two[2] = {static_cast<char>(b), static_cast<char>(t)};
      pairs_[b << 8 | t] = decodeOne(two, 2);
    }
  }
  if (!sjis) {
    for (unsigned x = 0xA1; x <= 0xFE; ++x) {
      for (unsigned y = 0xA1; y <= 0xFE; ++y) {
        const char three[3] = {'\x8F', static_cast<char>(x), static_cast<char>(y)};
        triples_[x << 8 | y] = decodeOne(three, 3);
      }
    }
  }
  for (unsigned b = 0; b < 0x80; ++b) singles_[b] = static_cast<char16_t>(b);
  if (sjis) {
    for (const auto& e : kShiftJisExtraSingles) singles_[e.byte] = e.character;
  }

  // Characters to bytes: ICU's choice where it writes the character (among
  // codes that share one), else the code that reads as it.
  for (char32_t ch = 0; ch < 0x10000; ++ch) {
    codes_[ch] = 0;
    if (IsSurrogate(ch)) continue;
    const UChar in = static_cast<UChar>(ch);
    char out[8];
    status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(c);
    const int32_t n = ucnv_fromUChars(c, out, sizeof out, &in, 1, &status);
    if (U_FAILURE(status) || n < 1 || n > 3) continue;
    uint32_t code = static_cast<uint32_t>(n) << 24;
    for (int32_t k = 0; k < n; ++k)
      code |= static_cast<uint32_t>(static_cast<unsigned char>(out[k])) << (8 * (n - 1 - k));
    codes_[ch] = code;
  }
  auto keepFirst = [this](char16_t ch, uint32_t code) {
    if (ch != kNone && codes_[ch] == 0) codes_[ch] = code;
  };
  for (unsigned b = 0; b < 256; ++b) {
    keepFirst(singles_[b], 1u << 24 | b);
    for (unsigned t = 0; t < 256; ++t) keepFirst(pairs_[b << 8 | t], 2u << 24 | b << 8 | t);
  }
  for (unsigned xy = 0; xy < 0x10000; ++xy) keepFirst(triples_[xy], 3u << 24 | 0x8F0000 | xy);
  // Single bytes read and write as themselves (ICU's Shift_JIS swaps some controls).
  for (unsigned b = 0; b < 256; ++b) {
    if (singles_[b] != kNone && In(singles_[b], 0, 0x7F)) codes_[singles_[b]] = 1u << 24 | b;
  }
  if (sjis) {
    for (const auto& e : kShiftJisExtraSingles) codes_[e.character] = 1u << 24 | e.byte;
  }

  char substitution[8];
  int8_t length = sizeof substitution;
  status = U_ZERO_ERROR;
  ucnv_getSubstChars(c, substitution, &length, &status);
  substitution_ = U_SUCCESS(status) && length > 0 ? std::string(substitution, static_cast<size_t>(length)) : "?";
}

char* JapaneseCodeTable::decode(const unsigned char* p, size_t size, char* o, DecodeFlags& flags,
                                const std::function<void()>& keepAlive) const {
  size_t nextPiece = kPiece;
  for (size_t i = 0; i < size;) {
    if (i >= nextPiece) {
      nextPiece = i + kPiece;
      if (keepAlive) keepAlive();
    }
    const unsigned b = p[i];
    if (b < 0x80) {
      *o++ = static_cast<char>(b);
      ++i;
      continue;
    }
    // A lead byte without its trail bytes stands alone as U+FFFD, and the
    // byte after it is read again (so a line end is never swallowed).
    char16_t c = kNone;
    size_t used = 1;
    switch (kind_[b]) {
      case Single: c = singles_[b]; break;
      case PairLead:
        if (i + 1 < size && trail_[p[i + 1]]) {
          c = pairs_[b << 8 | p[i + 1]];
          used = 2;
        }
        break;
      case TripleLead:
        if (i + 2 < size && trail_[p[i + 1]] && trail_[p[i + 2]]) {
          c = triples_[p[i + 1] << 8 | p[i + 2]];
          used = 3;
        }
        break;
    }
    if (c == kNone) {
      c = 0xFFFD;
      flags.invalid = true;
    }
    flags.unusual |= IsUnusual(c);
    o = PutCodePoint(o, c);
    i += used;
  }
  return o;
}

void JapaneseCodeTable::putCode(char32_t c, std::string& out) const {
  const uint32_t code = c < 0x10000 ? codes_[c] : 0;
  const unsigned n = code >> 24;
  if (n == 0) {
    out += substitution_;
    return;
  }
  for (unsigned k = n; k-- > 0;) out += static_cast<char>((code >> (8 * k)) & 0xFF);
}

void JapaneseCodeTable::encode(std::string_view utf8, std::string& out) const {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  while (p < end) {
    const char32_t c = NextCodePoint(p, end);
    if (c < 0x80) out += static_cast<char>(c);
    else putCode(IsSurrogate(c) ? 0xFFFD : c, out);
  }
}

}  // namespace varnopel
