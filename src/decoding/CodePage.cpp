#include "decoding/CodePage.h"

namespace varnopel {

std::string CodePageName(int32_t codePage) {
  switch (codePage) {
    case cp::ShiftJis: return "SJIS";
    case cp::Utf16LE: return "UTF16LE";
    case cp::Utf16BE: return "UTF16BE";
    case cp::Ansi: return "ANSI";
    case cp::EucJp: return "EUCJP";
    case cp::Jis: return "JIS";
    case cp::Utf7: return "UTF7";
    case cp::Utf8Bom:
    case cp::Utf8: return "UTF8";
    default: return "Unknown";
  }
}

}  // namespace varnopel
