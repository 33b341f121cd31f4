#include "decoding/ShiftJisTable.h"

#include <unicode/ucnv.h>

#include <memory>
#include <stdexcept>

#include "decoding/Codec.h"

namespace varnopel {

namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

// Code page 932's own single bytes beyond ASCII and halfwidth katakana.
constexpr struct {
  unsigned byte;
  char16_t character;
} kExtraSingles[] = {{0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3}};

}  // namespace

char16_t ShiftJisTable::single(unsigned b) {
  if (b < 0x80) return static_cast<char16_t>(b);
  if (b >= 0xA1 && b <= 0xDF) return static_cast<char16_t>(0xFF61 + (b - 0xA1));
  for (const auto& e : kExtraSingles) {
    if (e.byte == b) return e.character;
  }
  return 0xFFFF;  // a lead byte: not a character alone
}

const ShiftJisTable& ShiftJisTable::instance() {
  static const auto* table = new ShiftJisTable();  // lives to the end: used from static encoders too
  return *table;
}

ShiftJisTable::ShiftJisTable() {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open(ConverterName(932), &status));
  if (U_FAILURE(status)) throw std::runtime_error("code page not supported: 932");
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
  ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);

  for (char16_t& c : pairs_) c = 0xFFFF;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!isLead(lead)) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!isTrail(trail)) continue;
      const char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      UChar out[4];
      status = U_ZERO_ERROR;
      ucnv_resetToUnicode(converter.get());
      const int32_t n = ucnv_toUChars(converter.get(), out, 4, in, 2, &status);
      if (U_SUCCESS(status) && n == 1 && (out[0] < 0xD800 || out[0] > 0xDFFF)) pairs_[(lead << 8) | trail] = out[0];
    }
  }

  // Characters to bytes as ICU writes them (its choice among codes that share
  // a character), then the single bytes as code page 932 has them.
  for (char32_t c = 0; c < 0x10000; ++c) {
    fromUnicode_[c] = 0;
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const UChar in = static_cast<UChar>(c);
    char out[4];
    status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter.get());
    const int32_t n = ucnv_fromUChars(converter.get(), out, 4, &in, 1, &status);
    if (U_FAILURE(status)) continue;
    if (n == 1) fromUnicode_[c] = static_cast<unsigned char>(out[0]);
    if (n == 2) fromUnicode_[c] = static_cast<uint16_t>(static_cast<unsigned char>(out[0]) << 8 | static_cast<unsigned char>(out[1]));
  }
  for (unsigned b = 0; b < 0x80; ++b) fromUnicode_[b] = static_cast<uint16_t>(b);
  for (const auto& e : kExtraSingles) fromUnicode_[e.character] = static_cast<uint16_t>(e.byte);

  int8_t length = sizeof substitution_;
  status = U_ZERO_ERROR;
  ucnv_getSubstChars(converter.get(), substitution_, &length, &status);
  substitutionSize_ = U_SUCCESS(status) ? static_cast<size_t>(length) : 0;
  if (substitutionSize_ == 0) {
    substitution_[0] = '?';
    substitutionSize_ = 1;
  }
}

}  // namespace varnopel
