// Arbitrary bytes through detection and decoding. The decoders that are meant
// to be lossless (1252, UTF-8, UTF-16) must give the input back when the text
// is encoded again in the detected code page; so must Shift_JIS and EUC-JP
// when every byte decoded, except where a code shares its character with
// another code that is written instead (code page 932 has such pairs).
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "decoding/CheckCCode.h"
#include "decoding/Codec.h"
#include "split/OutputEncoder.h"

using namespace varnopel;

namespace {

std::string Encode(int32_t codePage, std::string_view text) {
  OutputEncoder encoder(codePage);
  std::string out;
  encoder.begin(out);
  encoder.encode(text, out);
  encoder.end(out);
  return out;
}

std::string Decode(int32_t codePage, std::string_view bytes) {
  size_t size = 0;
  DecodeFlags flags;
  ByteBuffer text = DecodeToUtf8(codePage, bytes.data(), bytes.size(), size, flags);
  return std::string(text.get(), size);
}

// The bytes of the character that starts the input (the input decoded cleanly).
size_t CharacterSize(int32_t codePage, std::string_view bytes) {
  const auto b = static_cast<unsigned char>(bytes[0]);
  if (codePage == cp::ShiftJis) return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC) ? 2 : 1;
  if (b == 0x8F) return 3;
  return b == 0x8E || (b >= 0xA1 && b <= 0xFE) ? 2 : 1;
}

// Character by character: each comes back as it was, or is a multi-byte
// code whose character is written as another code of that same character.
void CheckJapaneseRoundTrip(int32_t codePage, std::string_view input, const std::string& written) {
  std::string expected;
  while (!input.empty()) {
    const size_t size = CharacterSize(codePage, input);
    FUZZ_CHECK(size <= input.size());
    const std::string_view code = input.substr(0, size);
    const std::string character = Decode(codePage, code);
    const std::string again = Encode(codePage, character);
    FUZZ_CHECK(again == code || (size > 1 && Decode(codePage, again) == character));
    expected += again;
    input.remove_prefix(size);
  }
  FUZZ_CHECK(written == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteBuffer bytes = AllocateBytes(size);
  if (size > 0) std::memcpy(bytes.get(), data, size);
  int32_t codePage = -1;
  std::string lineBreak = "unset";
  DecodedFile file;
  try {
    file = DecodeText(std::move(bytes), size, codePage, lineBreak);
  } catch (const TextFileError&) {
    // Only a UTF-8 file that is not UTF-8, or one byte after a UTF-16 mark.
    FUZZ_CHECK(codePage == cp::Utf8 || codePage == cp::Utf8Bom || codePage == cp::Utf16LE || codePage == cp::Utf16BE);
    return 0;
  }
  FUZZ_CHECK(file.codePage == codePage);
  if (codePage == cp::NotText) {
    FUZZ_CHECK(lineBreak == "unset");
    return 0;
  }
  FUZZ_CHECK(lineBreak == "\r\n" || lineBreak == "\r" || lineBreak == "\n");
  const std::string_view text = file.text ? file.text->view() : std::string_view();

  // Every line list built from the text stays inside it.
  ForEachLine(text, lineBreak, [&](size_t offset, size_t length) { FUZZ_CHECK(offset + length <= text.size()); });

  const std::string out = Encode(codePage, text);
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  switch (codePage) {
    case cp::Ansi:
    case cp::Utf8Bom: FUZZ_CHECK(out == input); break;
    case cp::Utf8:  // written with the mark (a file of the mark alone already has it)
      FUZZ_CHECK(out == (input == "\xEF\xBB\xBF" ? std::string(input) : "\xEF\xBB\xBF" + std::string(input)));
      break;
    case cp::Utf16LE:
    case cp::Utf16BE:  // a final odd byte is dropped
      FUZZ_CHECK(out == input.substr(0, size & ~size_t{1}));
      break;
    case cp::ShiftJis:
    case cp::EucJp:
      if (!file.invalidSequence) CheckJapaneseRoundTrip(codePage, input, out);
      break;
    default: break;
  }
  return 0;
}
