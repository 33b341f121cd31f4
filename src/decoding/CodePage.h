#pragma once
#include <cstdint>
#include <string>

namespace varnopel {

// Code page numbers. 2 and 65002 are this program's own: "Japanese, Shift_JIS
// or EUC-JP undecided" and "UTF-8 without byte-order mark".
namespace cp {
constexpr int32_t NotText = 0;
constexpr int32_t JapaneseUndecided = 2;
constexpr int32_t ShiftJis = 932;
constexpr int32_t Utf16LE = 1200;
constexpr int32_t Utf16BE = 1201;
constexpr int32_t Ansi = 1252;
constexpr int32_t EucJp = 20932;
constexpr int32_t Jis = 50220;
constexpr int32_t Utf7 = 65000;
constexpr int32_t Utf8Bom = 65001;
constexpr int32_t Utf8 = 65002;
}  // namespace cp

// Short display name: "SJIS", "UTF16LE", "UTF8", ... or "Unknown".
std::string CodePageName(int32_t codePage);

}  // namespace varnopel
