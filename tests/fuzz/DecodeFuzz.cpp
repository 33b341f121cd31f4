// Arbitrary bytes through detection and decoding. The decoders that are meant
// to be lossless (1252, UTF-8, UTF-16) must give the input back when the text
// is encoded again in the detected code page.
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "decoding/CheckCCode.h"
#include "split/OutputEncoder.h"

using namespace varnopel;

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

  OutputEncoder encoder(codePage);
  std::string out;
  encoder.begin(out);
  encoder.encode(text, out);
  encoder.end(out);
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  switch (codePage) {
    case cp::Ansi:
    case cp::Utf8Bom:
      FUZZ_CHECK(out == input);
      break;
    case cp::Utf8:  // written with the mark (a file of the mark alone already has it)
      FUZZ_CHECK(out == (input == "\xEF\xBB\xBF" ? std::string(input) : "\xEF\xBB\xBF" + std::string(input)));
      break;
    case cp::Utf16LE:
    case cp::Utf16BE:  // a final odd byte is dropped
      FUZZ_CHECK(out == input.substr(0, size & ~size_t{1}));
      break;
    default:
      break;
  }
  return 0;
}
