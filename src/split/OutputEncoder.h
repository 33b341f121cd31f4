#pragma once
// Encodes lines of UTF-8 text into the bytes of an output code page.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct UConverter;

namespace varnopel {

class OutputEncoder {
 public:
  // 65002 is written like 65001 (with the mark); 0 as UTF-8 without a mark.
  // Throws std::runtime_error for a code page without a converter.
  explicit OutputEncoder(int32_t codePage);
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
  bool mayPassThrough() const { return kind_ == Kind::Utf8 || (kind_ == Kind::Converter && asciiCompatible_); }
  // Ends the file: returns a stateful encoding (JIS, UTF-7) to its start.
  void end(std::string& out);

 private:
  enum class Kind { Utf8, Utf16LE, Utf16BE, Converter };
  void convert(std::string_view utf8, std::string& out, bool flush);

  Kind kind_;
  bool bom_ = false;
  bool asciiCompatible_ = false;  // ASCII text may be copied as it is
  struct Converters;
  std::unique_ptr<Converters> converters_;
};

}  // namespace varnopel
