#pragma once
// Writes lines to one output file, each followed by the line break, through
// the file's encoder.
#include <span>
#include <string>
#include <string_view>

#include "decoding/TextChunk.h"

#include "split/OutputEncoder.h"
#include "split/OutputFile.h"
#include "split/SplitCallbacks.h"

namespace varnopel {

class LineWriter {
 public:
  LineWriter(OutputFile& file, OutputEncoder& encoder, std::string_view lineBreak, SplitCallbacks& callbacks);

  void line(std::string_view text);
  // The same for many lines at once. Lines scattered in memory (after a
  // reordering) are gathered on all cores where the encoding keeps them.
  void lines(std::span<const std::string_view> texts);
  // Writes what is left and ends the encoding; the file is then complete.
  void finish();

 private:
  void flushRun();
  void flushBuffer();
  bool gather(std::span<const std::string_view> texts);

  OutputFile& file_;
  OutputEncoder& encoder_;
  std::string_view lineBreak_;
  SplitCallbacks& callbacks_;
  std::string buffer_;
  ByteBuffer gathered_;
  size_t gatheredCapacity_ = 0;
  // Lines that lie one after another in memory, with this same line break
  // between them, are gathered into one run: where the encoding leaves the
  // bytes as they are, a long run is written from where it lies.
  const char* runBegin_ = nullptr;
  const char* runEnd_ = nullptr;
};

}  // namespace varnopel
