#include "decoding/Codec.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include <algorithm>
#include <array>
#include <mutex>

#include "decoding/CodePage.h"
#include "decoding/JapaneseCodeTable.h"
#include "decoding/Utf8.h"
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

// The input goes in in pieces so that keepAlive runs between them.
constexpr size_t kPiece = size_t{4} << 20;

// Substitutes U+FFFD for what does not map, and notes that something did.
void SubstituteAndNote(const void* context, UConverterToUnicodeArgs* args, const char*, int32_t,
                       UConverterCallbackReason reason, UErrorCode* status) {
  if (reason > UCNV_IRREGULAR) return;  // reset, close, clone
  *static_cast<bool*>(const_cast<void*>(context)) = true;
  *status = U_ZERO_ERROR;
  static const UChar kReplacement = 0xFFFD;
  ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, status);
}

// Output space that grows as needed; one input byte gives at most three
// UTF-8 bytes in these code pages, so it rarely has to.
struct Utf8Output {
  explicit Utf8Output(size_t inputSize)
      : capacity(inputSize * 3 + 16), buffer(AllocateBytes(capacity)), pos(buffer.get()) {}
  size_t used() const { return static_cast<size_t>(pos - buffer.get()); }
  char* end() const { return buffer.get() + capacity; }
  void grow() {
    const size_t at = used();
    capacity *= 2;
    ResizeBytes(buffer, capacity);
    pos = buffer.get() + at;
  }
  ByteBuffer finish(size_t& outSize) {
    outSize = used();
    ResizeBytes(buffer, outSize);
    return std::move(buffer);
  }
  size_t capacity;
  ByteBuffer buffer;
  char* pos;
};

// Converts [in, inEnd) through ICU. `reset` starts from the initial state;
// `flush` ends the input there.
void Convert(UConverter* source, UConverter* target, Utf8Output& out, const char* in, const char* inEnd, bool reset,
             bool flush) {
  std::array<UChar, 16384> pivot;
  UChar* pivotSource = pivot.data();
  UChar* pivotTarget = pivot.data();
  for (;;) {
    UErrorCode status = U_ZERO_ERROR;
    ucnv_convertEx(target, source, &out.pos, out.end(), &in, inEnd, pivot.data(), &pivotSource, &pivotTarget,
                   pivot.data() + pivot.size(), reset, flush, &status);
    reset = false;
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      out.grow();
      continue;
    }
    if (U_FAILURE(status)) throw TextFileError(std::string("cannot decode: ") + u_errorName(status));
    return;
  }
}

// JIS, one line at a time: a line end returns the converter to ASCII, and
// no line end is taken as half of a double-byte character.
void DecodeJisLines(UConverter* source, UConverter* target, Utf8Output& out, const char* in, const char* end,
                    const std::function<void()>& keepAlive) {
  const char* const begin = in;
  size_t nextPiece = kPiece;
  while (in < end) {
    const char* lineEnd = in;
    while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n') ++lineEnd;
    Convert(source, target, out, in, lineEnd, true, true);
    for (in = lineEnd; in < end && (*in == '\r' || *in == '\n'); ++in) {
      if (out.pos == out.end()) out.grow();
      *out.pos++ = *in;
    }
    if (static_cast<size_t>(in - begin) >= nextPiece) {
      nextPiece += kPiece;
      if (keepAlive) keepAlive();
    }
  }
}

}  // namespace

ByteBuffer DecodeToUtf8(int32_t codePage, const char* data, size_t size, size_t& outSize, DecodeFlags& flags,
                        const std::function<void()>& keepAlive) {
  const char* name = ConverterName(codePage);
  if (!name) throw TextFileError("code page not supported: " + std::to_string(codePage));
  flags = {};
  Utf8Output out(size);
  if (const JapaneseCodeTable* table = JapaneseCodeTable::forCodePage(codePage)) {
    out.pos = table->decode(reinterpret_cast<const unsigned char*>(data), size, out.pos, flags, keepAlive);
    return out.finish(outSize);
  }
  ConverterPtr source = OpenConverter(name);
  ConverterPtr target = OpenConverter("UTF-8");
  UErrorCode status = U_ZERO_ERROR;
  ucnv_setToUCallBack(source.get(), SubstituteAndNote, &flags.invalid, nullptr, nullptr, &status);
  if (codePage == cp::Jis) {
    DecodeJisLines(source.get(), target.get(), out, data, data + size, keepAlive);
    return out.finish(outSize);
  }
  size_t done = 0;
  for (;;) {
    const size_t piece = std::min(size - done, kPiece);
    Convert(source.get(), target.get(), out, data + done, data + done + piece, done == 0, done + piece == size);
    done += piece;
    if (done == size) break;
    if (keepAlive) keepAlive();
  }
  return out.finish(outSize);
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
