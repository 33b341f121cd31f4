#include "split/OutputEncoder.h"

#include <unicode/ucnv.h>

#include <cstring>
#include <stdexcept>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "decoding/CodePage.h"
#include "decoding/Codec.h"
#include "decoding/JapaneseCodeTable.h"
#include "decoding/Utf8.h"

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

// Where the first lone surrogate (ED A0..BF ..) starts, or npos. ED is
// always a lead byte, so a byte search finds every one.
size_t FindLoneSurrogate(std::string_view s) {
  for (size_t at = s.find('\xED'); at != std::string_view::npos; at = s.find('\xED', at + 1)) {
    if (at + 1 < s.size() && static_cast<unsigned char>(s[at + 1]) >= 0xA0) return at;
  }
  return std::string_view::npos;
}

// The character written for code point c: a lone surrogate becomes U+FFFD.
char32_t Writable(char32_t c) { return IsSurrogate(c) ? 0xFFFD : c; }

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

struct OutputEncoder::Converter {
  std::unique_ptr<UConverter, ConverterCloser> target;
};

OutputEncoder::OutputEncoder(int32_t codePage, bool mayHoldLoneSurrogates)
    : mayHoldLoneSurrogates_(mayHoldLoneSurrogates) {
  switch (codePage) {
    case cp::Utf8:
    case cp::Utf8Bom:
      kind_ = Kind::Utf8;
      bom_ = true;
      return;
    case cp::NotText: kind_ = Kind::Utf8; return;
    case cp::Utf16LE:
      kind_ = Kind::Utf16LE;
      bom_ = true;
      return;
    case cp::Utf16BE:
      kind_ = Kind::Utf16BE;
      bom_ = true;
      return;
    case cp::ShiftJis:
    case cp::EucJp:
      kind_ = Kind::Japanese;
      asciiCompatible_ = true;
      japanese_ = JapaneseCodeTable::forCodePage(codePage);
      return;
    case cp::Jis: kind_ = Kind::Jis; return;
    default: break;
  }
  const char* name = ConverterName(codePage);
  if (!name) throw std::runtime_error("code page not supported: " + std::to_string(codePage));
  kind_ = Kind::Converter;
  asciiCompatible_ = codePage != cp::Utf7;
  converter_ = std::make_unique<Converter>();
  UErrorCode status = U_ZERO_ERROR;
  converter_->target.reset(ucnv_open(name, &status));
  if (U_FAILURE(status)) throw std::runtime_error(std::string("code page not supported: ") + name);
}

OutputEncoder::~OutputEncoder() = default;

void OutputEncoder::begin(std::string& out) {
  if (!bom_) return;
  if (kind_ == Kind::Utf8) out += "\xEF\xBB\xBF";
  else PutUnit(out, 0xFEFF, kind_ == Kind::Utf16BE);
}

void OutputEncoder::encode(std::string_view utf8, std::string& out) {
  if (asciiCompatible_ && IsAscii(utf8)) {
    out += utf8;
    return;
  }
  switch (kind_) {
    case Kind::Utf8:
      if (!mayHoldLoneSurrogates_) {
        out += utf8;
        return;
      }
      for (size_t at = FindLoneSurrogate(utf8); at != std::string_view::npos; at = FindLoneSurrogate(utf8)) {
        out += utf8.substr(0, at);
        out += "\xEF\xBF\xBD";
        utf8.remove_prefix(at + 3);
      }
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
    case Kind::Japanese: japanese_->encode(utf8, out); return;
    case Kind::Jis: jis_.encode(utf8, out); return;
    case Kind::Converter: convert(utf8, out, false); return;
  }
}

bool OutputEncoder::passesThrough(std::string_view utf8) const {
  if (kind_ == Kind::Utf8) return !mayHoldLoneSurrogates_ || FindLoneSurrogate(utf8) == std::string_view::npos;
  return asciiCompatible_ && IsAscii(utf8);
}

void OutputEncoder::end(std::string& out) {
  if (kind_ == Kind::Jis) jis_.end(out);
  if (kind_ == Kind::Converter) {
    convert({}, out, true);
    ucnv_resetFromUnicode(converter_->target.get());
  }
}

// Through ICU from UTF-16 made here, so that a lone surrogate is one U+FFFD
// (ICU's UTF-8 reader would see three bad bytes).
void OutputEncoder::convert(std::string_view utf8, std::string& out, bool flush) {
  UConverter* target = converter_->target.get();
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* end = p + utf8.size();
  UChar units[2048];
  char buffer[8192];
  do {
    UChar* u = units;
    while (p < end && u + 2 <= units + std::size(units)) {
      const char32_t c = Writable(NextCodePoint(p, end));
      if (c >= 0x10000) {
        *u++ = static_cast<UChar>(0xD800 + ((c - 0x10000) >> 10));
        *u++ = static_cast<UChar>(0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        *u++ = static_cast<UChar>(c);
      }
    }
    const UChar* source = units;
    const bool last = flush && p == end;
    for (;;) {
      char* to = buffer;
      UErrorCode status = U_ZERO_ERROR;
      ucnv_fromUnicode(target, &to, buffer + sizeof buffer, &source, u, nullptr, last, &status);
      out.append(buffer, static_cast<size_t>(to - buffer));
      if (status == U_BUFFER_OVERFLOW_ERROR) continue;
      if (U_FAILURE(status)) throw std::runtime_error(std::string("cannot encode: ") + u_errorName(status));
      break;
    }
  } while (p < end);
}

}  // namespace varnopel
