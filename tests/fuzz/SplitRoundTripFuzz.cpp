// The split engine end to end on real files: random lines, a random plan, in
// blocks or dealt out, with or without a header. Every line must be written
// exactly once, in order, with its bytes unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "decoding/CheckCCode.h"
#include "split/SplitRun.h"
#include "workspace/LineList.h"

using namespace varnopel;

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    std::string tmpl = std::filesystem::temp_directory_path().string() + "/varnopel-fuzz-XXXXXX";
    FUZZ_CHECK(::mkdtemp(tmpl.data()) != nullptr);
    return tmpl;
  }();
  return folder;
}

class Callbacks : public SplitCallbacks {
 public:
  explicit Callbacks(bool deal) : deal_(deal) {}
  std::map<int64_t, int64_t> written;

  bool dealOut() override { return deal_; }
  std::string pathFor(int64_t k) override { return Folder() + "/out-" + std::to_string(k) + ".txt"; }
  bool overwriteWithoutAsking() override { return true; }
  OverwriteAnswer askOverwrite(const std::string&) override {
    FUZZ_CHECK(false);
    return OverwriteAnswer::Cancel;
  }
  std::string lineBreak() override { return "\n"; }
  void fileWritten(int64_t k, const std::string&, int64_t lines) override { written[k] = lines; }

 private:
  bool deal_;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// Byte 0: mode (bits 0-1), dealt out (bit 2), header (bit 3); byte 1: the
// number box value; the rest: lines.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const SplitMode mode = static_cast<SplitMode>(data[0] % 3);
  const bool deal = data[0] & 4;
  const bool withHeader = data[0] & 8;
  const std::vector<std::string> payloads =
      SplitTextLines(std::string_view(reinterpret_cast<const char*>(data + 2), size - 2));

  // Each line carries its number, so that where it went can be checked.
  std::string text;
  for (size_t i = 0; i < payloads.size(); ++i) text += std::to_string(i) + ":" + payloads[i] + "\n";
  ByteBuffer bytes = AllocateBytes(text.size());
  std::memcpy(bytes.get(), text.data(), text.size());
  LineList lines;
  lines.appendText(std::make_shared<TextChunk>(std::move(bytes), 0, text.size()), "\n");
  const int64_t n = static_cast<int64_t>(lines.count());
  if (n == 0) return 0;

  int64_t value = data[1];
  if (mode == SplitMode::Files) value = value % 16 + 1;
  if (mode == SplitMode::Lines) value = value % n + 1;
  if (mode == SplitMode::Half) value %= n + 1;
  const SplitPlan plan = MakeSplitPlan(mode, n, value);
  FUZZ_CHECK(plan.files >= 1 && plan.files <= 16 + n);

  Callbacks callbacks(deal);
  const std::vector<std::string_view> header =
      withHeader ? std::vector<std::string_view>{"#head"} : std::vector<std::string_view>{};
  const SplitResult result = RunSplit(lines, cp::Utf8, plan, callbacks, header);
  FUZZ_CHECK(!result.canceled && result.filesWritten == plan.files);

  std::vector<int64_t> fileOf(static_cast<size_t>(n), 0);
  int64_t last = -1;  // in blocks, the files together keep the order
  for (int64_t k = 1; k <= plan.files; ++k) {
    const std::string path = callbacks.pathFor(k);
    std::string body = ReadFile(path);
    std::filesystem::remove(path);
    FUZZ_CHECK(body.compare(0, 3, "\xEF\xBB\xBF") == 0);
    body.erase(0, 3);
    if (withHeader) {
      FUZZ_CHECK(body.compare(0, 6, "#head\n") == 0);
      body.erase(0, 6);
    }
    FUZZ_CHECK(body.empty() || body.back() == '\n');
    int64_t count = 0;
    int64_t previous = -1;
    for (const std::string& line : SplitByLineBreak(body, "\n")) {
      const size_t colon = line.find(':');
      FUZZ_CHECK(colon != std::string::npos);
      const int64_t index = std::stoll(line.substr(0, colon));
      FUZZ_CHECK(index >= 0 && index < n && index > previous);
      FUZZ_CHECK(fileOf[static_cast<size_t>(index)] == 0);
      FUZZ_CHECK(line == lines[static_cast<size_t>(index)]);
      fileOf[static_cast<size_t>(index)] = k;
      if (!deal) FUZZ_CHECK(index == last + 1);
      if (!deal) last = index;
      previous = index;
      ++count;
    }
    FUZZ_CHECK(callbacks.written[k] == count);
  }
  for (int64_t i = 0; i < n; ++i) {
    FUZZ_CHECK(fileOf[static_cast<size_t>(i)] != 0);
    if (deal && mode != SplitMode::Half) FUZZ_CHECK(fileOf[static_cast<size_t>(i)] == i % plan.files + 1);
  }
  if (mode == SplitMode::Half) FUZZ_CHECK(callbacks.written[1] == value && callbacks.written[2] == n - value);
  return 0;
}
