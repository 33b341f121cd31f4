#pragma once
// The two line orders: dictionary order (UTF-16 code units, as the lines
// would compare on the platform the files usually come from) and numeric
// order (digit runs by value, letters without regard to case).
#include <cstdint>
#include <string_view>

namespace varnopel {

// Negative, zero or positive. Orders by UTF-16 code units over our UTF-8
// text: byte order, except that U+E000..U+FFFF sort after supplementary
// characters. Only equal strings rank equal.
int CompareOrdinal(std::string_view a, std::string_view b);

// Numeric ("logical") order. Compares up to the first U+0000 of each side.
// - A run of ASCII digits is one number; numbers compare by value, of any
//   length; equal values rank equal whatever their leading zeros.
// - Other characters compare by their case-folded code point; a number
//   compares with a character as the digit '0' would, so numbers come after
//   spaces and most punctuation and before letters.
// - Signs and decimal points are ordinary characters: "-5" < "-10".
// - A string that ends first sorts first.
int CompareLogical(std::string_view a, std::string_view b);

// CompareLogical without its shortcut for ASCII: every character through
// ICU. The reference the shortcut is checked against.
int CompareLogicalPlain(std::string_view a, std::string_view b);

// Eight-byte sort keys. When two lines' keys differ, the keys compare as the
// lines do (CompareOrdinal, CompareLogical); equal keys say nothing. Returns
// false, with some key, for a line whose key cannot be trusted.
bool OrdinalKey(std::string_view line, uint64_t& key);
bool LogicalKey(std::string_view line, uint64_t& key);

}  // namespace varnopel
