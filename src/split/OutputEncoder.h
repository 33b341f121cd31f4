#pragma once
// Encodes lines of UTF-8 text into the bytes of an output code page.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "split/JisEncoder.h"

struct UConverter;

namespace varnopel {

class JapaneseCodeTable;

class OutputEncoder {
 public:
  // 65002 is written like 65001 (with the mark); 0 as UTF-8 without a mark.
  // Lone surrogates (text read from UTF-16) are written as U+FFFD, or as one
  // substitution character where that has no code; only UTF-16 keeps them.
  // A caller that knows its text holds none says so, and UTF-8 is then
  // copied without looking. Throws std::runtime_error for a code page
  // without a converter.
  explicit OutputEncoder(int32_t codePage, bool mayHoldLoneSurrogates = true);
  ~OutputEncoder();
  OutputEncoder(const OutputEncoder&) = delete;
  OutputEncoder& operator=(const OutputEncoder&) = delete;

  // Starts a new file: the byte-order mark, if the encoding has one.
  void begin(std::string& out);
  // Appends the encoded text.
  void encode(std::string_view utf8, std::string& out);
  // True when encoding these bytes would give them back unchanged.
  bool passesThrough(std::string_view utf8) const;
  // True when that can be so for some text (always for UTF-8, for ASCII in
  // an encoding that keeps ASCII).
  bool mayPassThrough() const { return kind_ == Kind::Utf8 || asciiCompatible_; }
  // Ends the file: returns a stateful encoding (JIS, UTF-7) to its start.
  void end(std::string& out);

 private:
  enum class Kind { Utf8, Utf16LE, Utf16BE, Japanese, Jis, Converter };
  void convert(std::string_view utf8, std::string& out, bool flush);

  Kind kind_;
  bool bom_ = false;
  bool asciiCompatible_ = false;  // ASCII text may be copied as it is
  bool mayHoldLoneSurrogates_;
  const JapaneseCodeTable* japanese_ = nullptr;  // Shift_JIS, EUC-JP
  JisEncoder jis_;
  struct Converter;
  std::unique_ptr<Converter> converter_;
};

}  // namespace varnopel
