#include "session/SplitSession.h"

#include <algorithm>
#include <new>

#include "decoding/CheckCCode.h"
#include "workspace/Compare.h"
#include "workspace/ReadMemory.h"

namespace varnopel {

namespace {

// Passes everything on, and notes in the session when a file is written.
class SessionCallbacks : public SplitCallbacks {
 public:
  SessionCallbacks(SplitCallbacks& inner, int32_t& codePage) : inner_(inner), codePage_(codePage) {}

  void fileStarted(int64_t k, int64_t files) override { inner_.fileStarted(k, files); }
  bool isChecked(int64_t k) override { return inner_.isChecked(k); }
  void fileSkipped(int64_t k) override { inner_.fileSkipped(k); }
  bool dealOut() override { return inner_.dealOut(); }
  std::string pathFor(int64_t k) override { return inner_.pathFor(k); }
  bool overwriteWithoutAsking() override { return inner_.overwriteWithoutAsking(); }
  OverwriteAnswer askOverwrite(const std::string& path) override { return inner_.askOverwrite(path); }
  void overwriteAll() override { inner_.overwriteAll(); }
  void fileWriting(int64_t k) override {
    // UTF-8 is written with a byte-order mark: once a file has one, the
    // input's code page reads as UTF-8 with a mark.
    if (codePage_ == cp::Utf8) codePage_ = cp::Utf8Bom;
    inner_.fileWriting(k);
  }
  std::string lineBreak() override { return inner_.lineBreak(); }
  void progress(int64_t value) override { inner_.progress(value); }
  bool canceled() override { return inner_.canceled(); }
  void keepResponsive() override { inner_.keepResponsive(); }
  void fileWritten(int64_t k, const std::string& path, int64_t lines) override { inner_.fileWritten(k, path, lines); }

 private:
  SplitCallbacks& inner_;
  int32_t& codePage_;
};

}  // namespace

void SplitSession::SortNames(std::vector<std::string>& names, SortOrder order) {
  const auto compare = order == SortOrder::Numeric ? CompareLogical : CompareOrdinal;
  std::stable_sort(names.begin(), names.end(),
                   [compare](const std::string& a, const std::string& b) { return compare(a, b) < 0; });
}

void SplitSession::clear() {
  lines_.clear();
  inputs_.clear();
}

size_t SplitSession::load(const std::vector<std::string>& paths, LoadEvents& events, bool freshEncoding) {
  const std::function<void()> keepAlive = [&events] { events.keepAlive(); };
  size_t loaded = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    events.fileStarting(i + 1, paths.size(), path);
    if (freshEncoding) {
      codePage_ = cp::ShiftJis;
      lineBreak_ = "\r\n";
    }
    ReadFailure failure;
    try {
      DecodedFile file = ReadTextFile(path, codePage_, lineBreak_, keepAlive);
      InputFile input{path, file.codePage, file.lineBreak, 0};
      input.lines = lines_.appendText(std::move(file.text), lineBreak_, keepAlive);
      inputs_.push_back(input);
      ++loaded;
      events.fileLoaded(i + 1, paths.size(), inputs_.back());
      continue;
    } catch (const std::bad_alloc&) {
      failure.megabytesNeeded = MegabytesToRead(path);
      failure.reason =
          "it needs about " + std::to_string(failure.megabytesNeeded) + " MB of memory, and that much is not available";
    } catch (const std::exception& e) {  // TextFileError, a line of 4 GiB
      failure.reason = e.what();
    }
    if (!events.fileFailed(i + 1, paths.size(), path, failure)) break;
  }
  return loaded;
}

void SplitSession::reread(const std::vector<std::string>& order, LoadEvents& events) {
  clear();
  load(order, events);
}

std::vector<std::string_view> SplitSession::takeHeader(size_t k) {
  k = std::min(k, lines_.count());
  std::vector<std::string_view> header;
  for (size_t i = 0; i < k; ++i) header.push_back(lines_[i]);
  lines_.lines().erase(lines_.lines().begin(), lines_.lines().begin() + static_cast<std::ptrdiff_t>(k));
  return header;
}

std::string SplitSession::outputLineBreak(LineBreakChoice choice) const {
  switch (choice) {
    case LineBreakChoice::Same: return lineBreak_.empty() ? "\r\n" : lineBreak_;
    case LineBreakChoice::Cr: return "\r";
    case LineBreakChoice::Lf: return "\n";
    case LineBreakChoice::CrLf: break;
  }
  return "\r\n";
}

SplitResult SplitSession::run(const SplitPlan& plan, SplitCallbacks& callbacks,
                              const std::vector<std::string_view>& header) {
  SessionCallbacks session(callbacks, codePage_);
  return RunSplit(lines_, codePage_, plan, session, header);
}

}  // namespace varnopel
