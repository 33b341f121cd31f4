#include "split/OutputEncoder.h"

#include <unicode/ucnv.h>

#include <cstring>
#include <stdexcept>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "decoding/CodePage.h"
#include "decoding/Codec.h"

namespace varnopel {

namespace {

bool IsAscii(std::string_view s) {
  const char* p = s.data();
  const size_t n = s.size();
  constexpr uint64_t kHigh = 0x8080808080808080u;
  auto word = [p](size_t at) {
    uint64_t w;
    std::memcpy(&w, p + at, 8);
    return w;
  };
  size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= n; i += 16) {
    if (_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i))) != 0) return false;
  }
#endif
  for (; i + 8 <= n; i += 8) {
    if (word(i) & kHigh) return false;
  }
  if (i < n && n >= 8) return (word(n - 8) & kHigh) == 0;  // the last bytes, overlapping
  for (; i < n; ++i) {
    if (static_cast<unsigned char>(p[i]) >= 0x80) return false;
  }
  return true;
}

// Reads one code point of generalized UTF-8 (lone surrogates allowed);
// an ill-formed byte reads as U+FFFD.
char32_t NextCodePoint(const unsigned char*& p, const unsigned char* end) {
  const unsigned c = *p++;
  if (c < 0x80) return c;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
  if (extra < 0 || end - p < extra) return 0xFFFD;
  char32_t v = c & (0x3F >> extra);
  for (int k = 0; k < extra; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0xFFFD;
    v = (v << 6) | (p[k] & 0x3F);
  }
  p += extra;
  return v;
}

void PutUnit(std::string& out, unsigned u, bool bigEndian) {
  const char hi = static_cast<char>(u >> 8);
  const char lo = static_cast<char>(u & 0xFF);
  if (bigEndian) {
    out += hi;
    out += lo;
  } else {
    out += lo;
    out += hi;
  }
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};

}  // namespace

struct OutputEncoder::Converters {
  std::unique_ptr<UConverter, ConverterCloser> utf8;
  std::unique_ptr<UConverter, ConverterCloser> target;
  std::array<UChar, 4096> pivot{};
  UChar* pivotSource = pivot.data();
  UChar* pivotTarget = pivot.data();
  bool reset = true;
};

OutputEncoder::OutputEncoder(int32_t codePage) {
  switch (codePage) {
    case cp::Utf8:
    case cp::Utf8Bom:
      kind_ = Kind::Utf8;
      bom_ = true;
      return;
    case cp::NotText:
      kind_ = Kind::Utf8;
      return;
    case cp::Utf16LE:
      kind_ = Kind::Utf16LE;
      bom_ = true;
      return;
    case cp::Utf16BE:
      kind_ = Kind::Utf16BE;
      bom_ = true;
      return;
    default:
      break;
  }
  const char* name = ConverterName(codePage);
  if (!name) throw std::runtime_error("code page not supported: " + std::to_string(codePage));
  kind_ = Kind::Converter;
  asciiCompatible_ = codePage != cp::Jis && codePage != cp::Utf7;
  converters_ = std::make_unique<Converters>();
  UErrorCode status = U_ZERO_ERROR;
  converters_->utf8.reset(ucnv_open("UTF-8", &status));
  converters_->target.reset(ucnv_open(name, &status));
  if (U_FAILURE(status)) throw std::runtime_error(std::string("code page not supported: ") + name);
}

OutputEncoder::~OutputEncoder() = default;

void OutputEncoder::begin(std::string& out) {
  if (!bom_) return;
  if (kind_ == Kind::Utf8) out += "\xEF\xBB\xBF";
  else PutUnit(out, 0xFEFF, kind_ == Kind::Utf16BE);
}

void OutputEncoder::encode(std::string_view utf8, std::string& out) {
  switch (kind_) {
    case Kind::Utf8:
      out += utf8;
      return;
    case Kind::Utf16LE:
    case Kind::Utf16BE: {
      const bool be = kind_ == Kind::Utf16BE;
      const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
      const auto* end = p + utf8.size();
      while (p < end) {
        char32_t c = NextCodePoint(p, end);
        if (c >= 0x10000) {
          c -= 0x10000;
          PutUnit(out, 0xD800 + (c >> 10), be);
          PutUnit(out, 0xDC00 + (c & 0x3FF), be);
        } else {
          PutUnit(out, c, be);
        }
      }
      return;
    }
    case Kind::Converter:
      if (asciiCompatible_ && IsAscii(utf8)) out += utf8;
      else convert(utf8, out, false);
      return;
  }
}

bool OutputEncoder::passesThrough(std::string_view utf8) const {
  if (kind_ == Kind::Utf8) return true;
  return kind_ == Kind::Converter && asciiCompatible_ && IsAscii(utf8);
}

void OutputEncoder::end(std::string& out) {
  if (kind_ == Kind::Converter && !asciiCompatible_) convert({}, out, true);
  if (converters_) {
    ucnv_resetToUnicode(converters_->utf8.get());
    ucnv_resetFromUnicode(converters_->target.get());
    converters_->pivotSource = converters_->pivotTarget = converters_->pivot.data();
    converters_->reset = true;
  }
}

void OutputEncoder::convert(std::string_view utf8, std::string& out, bool flush) {
  Converters& c = *converters_;
  const char* in = utf8.empty() ? "" : utf8.data();  // ICU refuses a null source
  const char* inEnd = in + utf8.size();
  char buffer[8192];
  for (;;) {
    char* target = buffer;
    UErrorCode status = U_ZERO_ERROR;
    ucnv_convertEx(c.target.get(), c.utf8.get(), &target, buffer + sizeof buffer, &in, inEnd, c.pivot.data(),
                   &c.pivotSource, &c.pivotTarget, c.pivot.data() + c.pivot.size(), c.reset, flush, &status);
    c.reset = false;
    out.append(buffer, static_cast<size_t>(target - buffer));
    if (status == U_BUFFER_OVERFLOW_ERROR) continue;
    if (U_FAILURE(status)) throw std::runtime_error(std::string("cannot encode: ") + u_errorName(status));
    return;
  }
}

}  // namespace varnopel
