#include "decoding/Codec.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <mutex>

#include "decoding/CodePage.h"
#include "decoding/TextFileError.h"

namespace varnopel {

const char* ConverterName(int32_t codePage) {
  switch (codePage) {
    case cp::ShiftJis: return "ibm-943_P15A-2003";  // windows-932
    case cp::Ansi: return "windows-1252";
    case cp::EucJp: return "EUC-JP";
    // version=3 also reads halfwidth katakana after ESC ( I.
    case cp::Jis: return "ISO_2022,locale=ja,version=3";
    case cp::Utf7: return "UTF-7";
    // Undecided Japanese text: the Macintosh code page, the nearest thing to
    // what such a file was decoded with before.
    case cp::JapaneseUndecided: return "macintosh";
    default: return nullptr;
  }
}

namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open(name, &status));
  if (U_FAILURE(status) || !converter) throw TextFileError(std::string("code page not supported: ") + name);
  return converter;
}

}  // namespace

ByteBuffer DecodeToUtf8(int32_t codePage, const char* data, size_t size, size_t& outSize,
                        const std::function<void()>& keepAlive) {
  const char* name = ConverterName(codePage);
  if (!name) throw TextFileError("code page not supported: " + std::to_string(codePage));
  ConverterPtr source = OpenConverter(name);
  ConverterPtr target = OpenConverter("UTF-8");
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(source.get(), UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &status);

  // One input byte never gives more than three UTF-8 bytes in these code pages;
  // the loop below still copes if one does.
  size_t capacity = size * 3 + 16;
  ByteBuffer out = AllocateBytes(capacity);
  const char* in = data;
  const char* end = data + size;
  // The input goes in in pieces so that keepAlive runs between them.
  constexpr size_t kPiece = size_t{4} << 20;
  const char* inEnd = std::min(end, data + kPiece);
  char* pos = out.get();
  std::array<UChar, 16384> pivot;
  UChar* pivotSource = pivot.data();
  UChar* pivotTarget = pivot.data();
  bool reset = true;
  for (;;) {
    status = U_ZERO_ERROR;
    char* outEnd = out.get() + capacity;
    ucnv_convertEx(target.get(), source.get(), &pos, outEnd, &in, inEnd, pivot.data(), &pivotSource,
                   &pivotTarget, pivot.data() + pivot.size(), reset, inEnd == end, &status);
    reset = false;
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      size_t used = static_cast<size_t>(pos - out.get());
      capacity *= 2;
      ResizeBytes(out, capacity);
      pos = out.get() + used;
      continue;
    }
    if (U_FAILURE(status)) throw TextFileError(std::string("cannot decode: ") + u_errorName(status));
    if (inEnd == end) break;
    inEnd = std::min(end, inEnd + kPiece);
    if (keepAlive) keepAlive();
  }
  outSize = static_cast<size_t>(pos - out.get());
  ResizeBytes(out, outSize);
  return out;
}

const Utf8Char* Ansi1252Table() {
  static std::array<Utf8Char, 256> table;
  static std::once_flag once;
  std::call_once(once, [] {
    ConverterPtr converter = OpenConverter("windows-1252");
    for (int b = 0; b < 256; ++b) {
      char byte = static_cast<char>(b);
      UChar unit = 0;
      UErrorCode status = U_ZERO_ERROR;
      int32_t n = ucnv_toUChars(converter.get(), &unit, 1, &byte, 1, &status);
      // Keep unassigned bytes as the C1 control of the same value.
      char32_t c = (U_SUCCESS(status) && n == 1 && unit != 0xFFFD && unit != 0x1A) ? unit : static_cast<char32_t>(b);
      if (b == 0) c = 0;
      Utf8Char& e = table[static_cast<size_t>(b)];
      if (c < 0x80) {
        e.bytes[0] = static_cast<char>(c);
        e.size = 1;
      } else if (c < 0x800) {
        e.bytes[0] = static_cast<char>(0xC0 | (c >> 6));
        e.bytes[1] = static_cast<char>(0x80 | (c & 0x3F));
        e.size = 2;
      } else {
        e.bytes[0] = static_cast<char>(0xE0 | (c >> 12));
        e.bytes[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        e.bytes[2] = static_cast<char>(0x80 | (c & 0x3F));
        e.size = 3;
      }
    }
  });
  return table.data();
}

}  // namespace varnopel
