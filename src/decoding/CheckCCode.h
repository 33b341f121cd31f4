#pragma once
// Text decoding: code page detection, whole-file reading and line splitting.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "decoding/CodePage.h"
#include "decoding/TextChunk.h"
#include "decoding/TextFileError.h"

namespace varnopel {

// Called now and then during long reads and scans, so that a window can stay
// responsive while a file of gigabytes loads.
using KeepAlive = std::function<void()>;

// Bytes examined by DetectCodePage when a file is read.
constexpr int32_t kDetectWindow = 512;

// Decides the code page of the first `length` bytes. Pure, never fails.
int32_t DetectCodePage(const unsigned char* bytes, int32_t length);

// The detected code page after looking at the whole file: an undecided or
// Japanese answer is corrected when the whole file is valid UTF-8, and an
// undecided one is settled by the first decisive byte anywhere in the file.
// (Decoding then also trades Shift_JIS and EUC-JP when the one garbles the
// file and the other reads it cleanly; see DecodeText.)
int32_t RefineCodePage(int32_t detected, const unsigned char* bytes, size_t length, const KeepAlive& keepAlive = {});

// Line break from the first line end in the first `window` bytes (UTF-16
// walks code units); "\r\n" when there is none. A CR at the window's end
// still looks at the byte after it.
std::string DetectLineBreak(const unsigned char* bytes, size_t length, size_t window, int32_t codePage);

// A decoded file: its text as UTF-8 (byte-order mark left out) before it is
// cut into lines, plus what was detected.
struct DecodedFile {
  int32_t codePage = 0;
  std::string lineBreak;
  std::shared_ptr<const TextChunk> text;  // null or empty when there is no text
  bool invalidSequence = false;           // some bytes did not decode and became U+FFFD
};

// Reads and decodes a whole file. On a failure to open or read, throws
// TextFileError and writes neither output; on a decoding failure, throws after
// both were written. lineBreak is written only when codePage > 0.
DecodedFile ReadTextFile(const std::string& path, int32_t& codePage, std::string& lineBreak,
                         const KeepAlive& keepAlive = {});

// The same from bytes already in memory (used for tests and fuzzing).
DecodedFile DecodeText(ByteBuffer bytes, size_t length, int32_t& codePage, std::string& lineBreak,
                       const KeepAlive& keepAlive = {});

// Calls visit(offset, length) for every line of `text` cut by `lineBreak`,
// with the result that SplitTextLines would give on LoadTextFile's text.
template <class Visit>
void ForEachLine(std::string_view text, std::string_view lineBreak, Visit&& visit);

// Cuts text at the given line break alone ("\r" or "\n"; anything else cuts
// like SplitTextLines). A final break adds no empty line.
std::vector<std::string> SplitByLineBreak(std::string_view text, std::string_view lineBreak);

// The whole reader: the decoded lines joined again, each followed by the
// detected line break. Throws TextFileError.
std::string LoadTextFile(const std::string& path, int32_t& codePage, std::string& lineBreak);

// True when the bytes are valid UTF-8 (no overlong forms, surrogates or
// values above U+10FFFF); hasNonAscii tells whether any byte is 80 or above.
bool IsValidUtf8(const unsigned char* bytes, size_t length, bool& hasNonAscii, const KeepAlive& keepAlive = {});

// Splits at CR LF, lone CR and lone LF; a final break adds no empty line.
std::vector<std::string> SplitTextLines(std::string_view text);

}  // namespace varnopel

#include "decoding/ForEachLine.inl"
