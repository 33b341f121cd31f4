#pragma once
// Writes text as JIS (ISO-2022-JP), switching character sets by escape
// sequences: halfwidth katakana after ESC ( I rather than between SO and SI,
// which standard ISO-2022-JP readers do not know. The characters of each set
// are ICU's.
#include <cstdint>
#include <string>
#include <string_view>

namespace varnopel {

class JisEncoder {
 public:
  void encode(std::string_view utf8, std::string& out);
  // Returns to ASCII, as a file must end.
  void end(std::string& out);

  enum class Set : uint8_t { Ascii, Roman, Jis0208, Jis0212, Katakana, None };
  struct Code {
    Set set = Set::None;  // None: not in JIS
    uint8_t size = 0;
    char bytes[2] = {};
  };

 private:
  void switchTo(Set set, std::string& out);

  Set set_ = Set::Ascii;
};

}  // namespace varnopel
