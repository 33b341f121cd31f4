#include "decoding/CheckCCode.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <system_error>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "decoding/Codec.h"
#include "decoding/FileSystemCalls.h"
#include "decoding/PageFiller.h"
#include "decoding/Utf8.h"

namespace varnopel {

namespace {

constexpr bool In(unsigned v, unsigned lo, unsigned hi) { return v >= lo && v <= hi; }

// Long passes over a file run in blocks of this size, with a keep-alive call
// between two blocks.
constexpr size_t kBlock = size_t{4} << 20;

void KeepAliveAt(size_t done, size_t& next, const KeepAlive& keepAlive) {
  if (done < next) return;
  next = done + kBlock;
  if (keepAlive) keepAlive();
}

// One step of the main scan at position i (the byte at i has two more after
// it). Returns the new result, or `result` unchanged, and sets the advance.
int32_t ScanStep(const unsigned char* p, int32_t result, int& advance) {
  const unsigned a = p[0];
  const unsigned b = p[1];
  advance = 1;
  if (a == 0x1B) {
    if (b == 0x24) {
      advance = 3;
      return (p[2] == 0x42 || p[2] == 0x40) ? cp::Jis : result;
    }
    advance = 2;
    return result;
  }
  if (a <= 0x07 || a == 0xFF) return cp::NotText;
  if (a <= 0x7F) return result;
  if (In(a, 0x81, 0x8D) || In(a, 0x8F, 0x9F)) return cp::ShiftJis;
  if (a == 0x8E) {
    advance = 2;
    if (In(b, 0x40, 0x7E) || In(b, 0x80, 0xA0) || In(b, 0xE0, 0xFC)) return cp::ShiftJis;
    if (In(b, 0xA1, 0xDF)) return cp::JapaneseUndecided;
    return result;
  }
  if (In(a, 0xA1, 0xDF)) {
    advance = 2;
    if (In(b, 0xF0, 0xFE) || In(b, 0xE0, 0xEF)) return cp::EucJp;
    if (In(b, 0xA1, 0xDF)) return cp::JapaneseUndecided;
    if (b <= 0x9F) return cp::ShiftJis;
    return result;  // A0 or FF
  }
  if (In(a, 0xF0, 0xFE)) return cp::EucJp;
  if (In(a, 0xE0, 0xEF)) {
    advance = 2;
    if (In(b, 0x40, 0x7E) || In(b, 0x80, 0xA0)) return cp::ShiftJis;
    if (In(b, 0xFD, 0xFE)) return cp::EucJp;
    if (In(b, 0xA1, 0xFC)) return cp::JapaneseUndecided;
    return result;
  }
  return result;  // 80 or A0
}

bool AllAscii(const unsigned char* p, size_t size, const KeepAlive& keepAlive) {
  size_t i = 0;
  size_t next = kBlock;
#if defined(__SSE2__)
  __m128i acc = _mm_setzero_si128();
  for (; i + 64 <= size; i += 64) {
    if ((i & (kBlock - 1)) == 0) KeepAliveAt(i, next, keepAlive);
    for (int k = 0; k < 64; k += 16)
      acc = _mm_or_si128(acc, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i + k)));
    if (_mm_movemask_epi8(acc) != 0) return false;
  }
#endif
  for (; i < size; ++i) {
    if (p[i] >= 0x80) return false;
  }
  return true;
}

std::shared_ptr<const TextChunk> DecodeUtf16(const unsigned char* p, size_t size, bool bigEndian,
                                             const KeepAlive& keepAlive) {
  size_t next = kBlock;
  const size_t units = size / 2;  // a final odd byte is dropped
  ByteBuffer out = AllocateBytes(units * 3);
  char* o = out.get();
  auto unit = [&](size_t i) -> char32_t {
    return bigEndian ? (char32_t(p[2 * i]) << 8 | p[2 * i + 1]) : (char32_t(p[2 * i + 1]) << 8 | p[2 * i]);
  };
  bool loneSurrogates = false;
  for (size_t i = 0; i < units; ++i) {
    KeepAliveAt(2 * i, next, keepAlive);
    char32_t u = unit(i);
    if (In(u, 0xD800, 0xDBFF) && i + 1 < units) {
      char32_t v = unit(i + 1);
      if (In(v, 0xDC00, 0xDFFF)) {
        o = PutCodePoint(o, 0x10000 + ((u - 0xD800) << 10) + (v - 0xDC00));
        ++i;
        continue;
      }
    }
    loneSurrogates |= IsSurrogate(u);
    o = PutCodePoint(o, u);
  }
  const size_t length = static_cast<size_t>(o - out.get());
  ResizeBytes(out, length);
  return std::make_shared<TextChunk>(std::move(out), 0, length, loneSurrogates);
}

std::shared_ptr<const TextChunk> DecodeAnsi(ByteBuffer bytes, size_t size, const KeepAlive& keepAlive) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.get());
  if (AllAscii(p, size, keepAlive)) return std::make_shared<TextChunk>(std::move(bytes), 0, size);
  const Utf8Char* table = Ansi1252Table();
  size_t length = 0;
  for (size_t i = 0; i < size; ++i) length += table[p[i]].size;
  ByteBuffer out = AllocateBytes(length + 2);
  char* o = out.get();
  size_t next = kBlock;
  for (size_t i = 0; i < size; ++i) {
    KeepAliveAt(i, next, keepAlive);
    const Utf8Char& c = table[p[i]];
    std::memcpy(o, c.bytes, 3);  // fixed size: the buffer has two spare bytes
    o += c.size;
  }
  return std::make_shared<TextChunk>(std::move(out), 0, length);
}

bool StartsWith(const unsigned char* p, size_t size, std::initializer_list<unsigned char> mark) {
  return size >= mark.size() && std::equal(mark.begin(), mark.end(), p);
}

}  // namespace

int32_t DetectCodePage(const unsigned char* bytes, int32_t length) {
  const int32_t n = length;
  if (n <= 0) return cp::NotText;
  if (n > 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) return cp::Utf16LE;
  if (n > 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) return cp::Utf16BE;
  if (n > 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) return cp::Utf8Bom;

  int32_t result = cp::Ansi;
  for (int32_t i = 0; (result == cp::Ansi || result == cp::JapaneseUndecided) && i < n - 2;) {
    int advance = 1;
    result = ScanStep(bytes + i, result, advance);
    i += advance;
  }

  if (result == cp::JapaneseUndecided || result == cp::ShiftJis || result == cp::EucJp) {
    for (int32_t k = 0; k < n - 4; ++k) {
      const unsigned c = bytes[k];
      if (c < 0x80) continue;
      const unsigned b1 = bytes[k + 1];
      const unsigned b2 = bytes[k + 2];
      if ((c == 0xE0 && In(b1, 0xA0, 0xBF) && In(b2, 0x80, 0xBF)) ||
          (In(c, 0xE1, 0xEF) && In(b1, 0x80, 0xBF) && In(b2, 0x80, 0xBF))) {
        result = cp::Utf8;
      }
      break;
    }
  }
  return result;
}

int32_t RefineCodePage(int32_t detected, const unsigned char* bytes, size_t length, const KeepAlive& keepAlive) {
  if (detected != cp::JapaneseUndecided && detected != cp::ShiftJis && detected != cp::EucJp) return detected;
  bool hasNonAscii = false;
  if (IsValidUtf8(bytes, length, hasNonAscii, keepAlive) && hasNonAscii) return cp::Utf8;
  if (detected != cp::JapaneseUndecided) return detected;
  // Only Shift_JIS or EUC-JP can settle it now: control bytes and JIS escapes
  // past the detection window do not count.
  for (size_t i = 0; i + 2 < length;) {
    int advance = 1;
    int32_t r = ScanStep(bytes + i, cp::JapaneseUndecided, advance);
    if (r == cp::ShiftJis || r == cp::EucJp) return r;
    i += static_cast<size_t>(advance);
  }
  return cp::EucJp;
}

bool IsValidUtf8(const unsigned char* p, size_t size, bool& hasNonAscii, const KeepAlive& keepAlive) {
  hasNonAscii = false;
  size_t i = 0;
  size_t next = kBlock;
  while (i < size) {
    KeepAliveAt(i, next, keepAlive);
#if defined(__SSE2__)
    while (i + 16 <= size && _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i))) == 0) i += 16;
    if (i >= size) break;
#endif
    const unsigned c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    hasNonAscii = true;
    auto cont = [&](size_t k) { return i + k < size && In(p[i + k], 0x80, 0xBF); };
    auto second = [&](unsigned lo, unsigned hi) { return i + 1 < size && In(p[i + 1], lo, hi); };
    if (In(c, 0xC2, 0xDF)) {
      if (!cont(1)) return false;
      i += 2;
    } else if (In(c, 0xE0, 0xEF)) {
      unsigned lo = c == 0xE0 ? 0xA0 : 0x80;
      unsigned hi = c == 0xED ? 0x9F : 0xBF;
      if (!second(lo, hi) || !cont(2)) return false;
      i += 3;
    } else if (In(c, 0xF0, 0xF4)) {
      unsigned lo = c == 0xF0 ? 0x90 : 0x80;
      unsigned hi = c == 0xF4 ? 0x8F : 0xBF;
      if (!second(lo, hi) || !cont(2) || !cont(3)) return false;
      i += 4;
    } else {
      return false;
    }
  }
  return true;
}

std::string DetectLineBreak(const unsigned char* p, size_t length, size_t window, int32_t codePage) {
  window = std::min(window, length);
  if (codePage == cp::Utf16LE || codePage == cp::Utf16BE) {
    const bool be = codePage == cp::Utf16BE;
    auto unit = [&](size_t i) -> unsigned { return be ? (p[i] << 8 | p[i + 1]) : (p[i + 1] << 8 | p[i]); };
    for (size_t i = 0; i + 1 < window; i += 2) {
      const unsigned u = unit(i);
      if (u == 0x0D) return (i + 3 < length && unit(i + 2) == 0x0A) ? "\r\n" : "\r";
      if (u == 0x0A) return "\n";
    }
    return "\r\n";
  }
  for (size_t i = 0; i < window; ++i) {
    if (p[i] == 0x0D) return (i + 1 < length && p[i + 1] == 0x0A) ? "\r\n" : "\r";
    if (p[i] == 0x0A) return "\n";
  }
  return "\r\n";
}

DecodedFile DecodeText(ByteBuffer bytes, size_t length, int32_t& codePage, std::string& lineBreak,
                       const KeepAlive& keepAlive) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.get());
  const size_t window = std::min<size_t>(length, kDetectWindow);
  const int32_t code = RefineCodePage(DetectCodePage(p, static_cast<int32_t>(window)), p, length, keepAlive);
  codePage = code;
  DecodedFile file;
  file.codePage = code;
  if (code == cp::NotText) return file;
  lineBreak = DetectLineBreak(p, length, window, code);
  file.lineBreak = lineBreak;

  switch (code) {
    case cp::Utf16LE:
    case cp::Utf16BE: {
      const bool be = code == cp::Utf16BE;
      size_t skip = StartsWith(p, length,
                               be ? std::initializer_list<unsigned char>{0xFE, 0xFF}
                                  : std::initializer_list<unsigned char>{0xFF, 0xFE})
                        ? 2
                        : 0;
      if (length - skip == 1) throw TextFileError("a single byte after the UTF-16 byte-order mark");
      file.text = DecodeUtf16(p + skip, length - skip, be, keepAlive);
      break;
    }
    case cp::Utf8Bom:
    case cp::Utf8: {
      const size_t skip = StartsWith(p, length, {0xEF, 0xBB, 0xBF}) ? 3 : 0;
      bool hasNonAscii = false;
      if (!IsValidUtf8(p + skip, length - skip, hasNonAscii, keepAlive)) throw TextFileError("invalid UTF-8");
      file.text = std::make_shared<TextChunk>(std::move(bytes), skip, length);
      break;
    }
    case cp::Ansi: file.text = DecodeAnsi(std::move(bytes), length, keepAlive); break;
    default: {
      size_t outSize = 0;
      DecodeFlags flags;
      ByteBuffer out = DecodeToUtf8(code, bytes.get(), length, outSize, flags, keepAlive);
      // A Japanese guess that garbles the file gives way to the other one
      // when that reads the file cleanly.
      if (flags.doubtful() && (code == cp::ShiftJis || code == cp::EucJp)) {
        const int32_t other = code == cp::ShiftJis ? cp::EucJp : cp::ShiftJis;
        DecodeFlags otherFlags;
        size_t otherSize = 0;
        ByteBuffer otherOut = DecodeToUtf8(other, bytes.get(), length, otherSize, otherFlags, keepAlive);
        if (!otherFlags.doubtful()) {
          codePage = file.codePage = other;
          flags = otherFlags;
          out = std::move(otherOut);
          outSize = otherSize;
        }
      }
      file.invalidSequence = flags.invalid;
      bytes.reset();
      file.text = std::make_shared<TextChunk>(std::move(out), 0, outSize);
      break;
    }
  }
  return file;
}

namespace {

[[noreturn]] void ThrowErrno(const char* what, int error) {
  throw TextFileError(std::string(what) + ": " + std::generic_category().message(error));
}

struct FileCloser {
  int fd;
  ~FileCloser() { CurrentFileSystemCalls().close(fd); }
};

}  // namespace

DecodedFile ReadTextFile(const std::string& path, int32_t& codePage, std::string& lineBreak,
                         const KeepAlive& keepAlive) {
  const FileSystemCalls& calls = CurrentFileSystemCalls();
  const int fd = calls.open(path.c_str(), O_RDONLY | O_CLOEXEC, 0);
  if (fd < 0) ThrowErrno("cannot open", errno);
  FileCloser closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) ThrowErrno("cannot read", errno);
  if (S_ISDIR(st.st_mode)) ThrowErrno("cannot read", EISDIR);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

  // Read to the end even if the file grows or shrinks meanwhile: what is
  // decoded is one consistent read of it.
  size_t capacity = S_ISREG(st.st_mode) ? static_cast<size_t>(st.st_size) + 1 : 65536;
  ByteBuffer bytes = AllocateBytes(capacity);
  std::optional<PageFiller> filler(std::in_place, bytes.get(), capacity);
  size_t length = 0;
  for (;;) {
    if (length == capacity) {
      filler.reset();  // the block is about to move
      capacity += capacity / 2 + 65536;
      ResizeBytes(bytes, capacity);
    }
    const long got = calls.read(fd, bytes.get() + length, std::min<size_t>(capacity - length, kBlock));
    if (got < 0) {
      if (errno == EINTR) continue;
      ThrowErrno("cannot read", errno);
    }
    if (got == 0) break;
    length += static_cast<size_t>(got);
    if (keepAlive) keepAlive();
  }
  filler.reset();
  return DecodeText(std::move(bytes), length, codePage, lineBreak, keepAlive);
}

std::vector<std::string> SplitByLineBreak(std::string_view text, std::string_view lineBreak) {
  if (lineBreak != "\r" && lineBreak != "\n") return SplitTextLines(text);
  const char brk = lineBreak[0];
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find(brk, pos);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

std::string LoadTextFile(const std::string& path, int32_t& codePage, std::string& lineBreak) {
  DecodedFile file = ReadTextFile(path, codePage, lineBreak);
  std::string joined;
  if (!file.text) return joined;
  for (const std::string& line : SplitByLineBreak(file.text->view(), file.lineBreak)) {
    joined += line;
    joined += file.lineBreak;
  }
  return joined;
}

std::vector<std::string> SplitTextLines(std::string_view text) {
  std::vector<std::string> lines;
  ForEachLine(text, "\r\n", [&](size_t offset, size_t length) { lines.emplace_back(text.substr(offset, length)); });
  return lines;
}

}  // namespace varnopel
