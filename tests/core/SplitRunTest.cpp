#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <random>

#include "TestFiles.h"
#include "decoding/CheckCCode.h"
#include "split/OutputFile.h"
#include "split/OutputFileName.h"
#include "split/SplitArithmetic.h"
#include "split/SplitRun.h"

using namespace varnopel;
using varnopel::test::ReadAll;
using varnopel::test::TempDir;

namespace {

LineList Lines(const std::string& text) {
  LineList list;
  ByteBuffer bytes = AllocateBytes(text.size());
  std::memcpy(bytes.get(), text.data(), text.size());
  list.appendText(std::make_shared<TextChunk>(std::move(bytes), 0, text.size()), "\n");
  return list;
}

// The lines of a file as the reader gives them.
LineList ReadLines(const std::string& path, int32_t& codePage, std::string& lineBreak) {
  DecodedFile file = ReadTextFile(path, codePage, lineBreak);
  LineList list;
  list.appendText(file.text, lineBreak);
  return list;
}

const std::string kTen = "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\n";

// Answers like a user at the window; records what the run reported.
class Recorder : public SplitCallbacks {
 public:
  explicit Recorder(std::filesystem::path folder) : folder_(std::move(folder)) {}

  bool deal = false;
  bool overwrite = false;
  std::string lb = "\n";
  std::map<int64_t, bool> unchecked;
  std::vector<OverwriteAnswer> answers;
  int64_t cancelAtProgress = -1;
  std::vector<std::string> asked;
  std::vector<int64_t> skipped;
  std::map<int64_t, int64_t> written;
  int64_t lastProgress = 0;

  bool dealOut() override { return deal; }
  bool isChecked(int64_t k) override { return !unchecked.count(k); }
  void fileSkipped(int64_t k) override { skipped.push_back(k); }
  std::string pathFor(int64_t k) override { return OutputFileName(folder_.string(), "/in/list.txt", k); }
  bool overwriteWithoutAsking() override { return overwrite; }
  OverwriteAnswer askOverwrite(const std::string& path) override {
    asked.push_back(path);
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question for " << path;
      return OverwriteAnswer::Cancel;
    }
    OverwriteAnswer a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  void overwriteAll() override { overwrite = true; }
  std::string lineBreak() override { return lb; }
  void progress(int64_t value) override { lastProgress = value; }
  bool canceled() override { return cancelAtProgress >= 0 && lastProgress >= cancelAtProgress; }
  void fileWritten(int64_t k, const std::string&, int64_t lines) override { written[k] = lines; }

  std::string file(int k) const { return ReadAll(OutputFileName(folder_.string(), "/in/list.txt", k)); }
  bool exists(int k) const { return std::filesystem::exists(OutputFileName(folder_.string(), "/in/list.txt", k)); }

 private:
  std::filesystem::path folder_;
};

}  // namespace

TEST(SplitRun, PlansCutTheListAsExpected) {
  struct Case {
    const char* name;
    SplitMode mode;
    int64_t value;
    bool deal;
    std::vector<std::string> files;
  } cases[] = {
      {"3 files, blocks", SplitMode::Files, 3, false, {"a\nb\nc\nd\n", "e\nf\ng\nh\n", "i\nj\n"}},
      {"3 files, dealt", SplitMode::Files, 3, true, {"a\nd\ng\nj\n", "b\ne\nh\n", "c\nf\ni\n"}},
      {"4 lines a file, dealt", SplitMode::Lines, 4, true, {"a\nd\ng\nj\n", "b\ne\nh\n", "c\nf\ni\n"}},
      {"7 files, blocks: the last two empty",
       SplitMode::Files,
       7,
       false,
       {"a\nb\n", "c\nd\n", "e\nf\n", "g\nh\n", "i\nj\n", "", ""}},
      {"half 3, blocks", SplitMode::Half, 3, false, {"a\nb\nc\n", "d\ne\nf\ng\nh\ni\nj\n"}},
      {"half 0, blocks", SplitMode::Half, 0, false, {"", kTen}},
      {"half 3, dealt: every line once", SplitMode::Half, 3, true, {"a\nc\ne\n", "b\nd\nf\ng\nh\ni\nj\n"}},
      {"half 8, dealt: every line once", SplitMode::Half, 8, true, {"a\nc\ne\nf\ng\nh\ni\nj\n", "b\nd\n"}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    Recorder r(dir.path());
    r.deal = c.deal;
    const LineList lines = Lines(kTen);
    SplitResult result = RunSplit(lines, cp::ShiftJis, MakeSplitPlan(c.mode, 10, c.value), r);
    EXPECT_FALSE(result.canceled) << c.name;
    ASSERT_EQ(result.filesWritten, static_cast<int64_t>(c.files.size())) << c.name;
    for (size_t k = 0; k < c.files.size(); ++k)
      EXPECT_EQ(r.file(static_cast<int>(k + 1)), c.files[k]) << c.name << " file " << k + 1;
    EXPECT_EQ(r.lastProgress, 10) << c.name;
  }
}

TEST(SplitRun, UncheckedFileIsSkippedAndLaterFilesStillWritten) {
  TempDir dir;
  Recorder r(dir.path());
  r.unchecked[6] = true;
  const LineList lines = Lines(kTen);
  RunSplit(lines, cp::ShiftJis, MakeSplitPlan(SplitMode::Files, 10, 7), r);
  EXPECT_EQ(r.skipped, std::vector<int64_t>{6});
  EXPECT_FALSE(r.exists(6));
  EXPECT_TRUE(r.exists(7));
  EXPECT_EQ(r.file(7), "");
}

TEST(SplitRun, OverwriteQuestions) {
  const LineList lines = Lines(kTen);
  {  // No for -1, Yes for -2: -1 keeps its content; -3 is new and needs no question.
    TempDir dir;
    Recorder r(dir.path());
    dir.write("list-1.txt", "old1");
    dir.write("list-2.txt", "old2");
    r.answers = {OverwriteAnswer::No, OverwriteAnswer::Yes};
    SplitResult result = RunSplit(lines, cp::ShiftJis, MakeSplitPlan(SplitMode::Files, 10, 3), r);
    EXPECT_EQ(r.asked.size(), 2u);
    EXPECT_EQ(r.file(1), "old1");
    EXPECT_EQ(r.file(2), "e\nf\ng\nh\n");
    EXPECT_EQ(r.file(3), "i\nj\n");
    EXPECT_FALSE(result.canceled);
    EXPECT_FALSE(result.lastDeclined);
  }
  {  // Cancel at -2: -1 written, -2 and -3 untouched.
    TempDir dir;
    Recorder r(dir.path());
    dir.write("list-2.txt", "old2");
    r.answers = {OverwriteAnswer::Cancel};
    SplitResult result = RunSplit(lines, cp::ShiftJis, MakeSplitPlan(SplitMode::Files, 10, 3), r);
    EXPECT_TRUE(result.canceled);
    EXPECT_EQ(r.file(1), "a\nb\nc\nd\n");
    EXPECT_EQ(r.file(2), "old2");
    EXPECT_FALSE(r.exists(3));
  }
  {  // Yes to all: one question, the rest replaced silently.
    TempDir dir;
    Recorder r(dir.path());
    for (int k = 1; k <= 3; ++k) dir.write("list-" + std::to_string(k) + ".txt", "old");
    r.answers = {OverwriteAnswer::YesToAll};
    RunSplit(lines, cp::ShiftJis, MakeSplitPlan(SplitMode::Files, 10, 3), r);
    EXPECT_EQ(r.asked.size(), 1u);
    EXPECT_TRUE(r.overwrite);
    EXPECT_EQ(r.file(3), "i\nj\n");
  }
}

// Whatever stands at an output name counts as existing, a dangling symbolic
// link too; a Yes replaces the link itself and never writes through it.
TEST(SplitRun, SymbolicLinksAtOutputNamesAreAskedAboutAndReplaced) {
  TempDir dir;
  namespace fs = std::filesystem;
  fs::create_directory(dir.path() / "folder");
  const std::string kept = dir.write("kept.txt", "kept");
  fs::permissions(kept, fs::perms::owner_all);
  fs::create_symlink(dir.path() / "nowhere.txt", dir.path() / "list-1.txt");
  fs::create_symlink(dir.path() / "folder", dir.path() / "list-2.txt");
  fs::create_symlink(kept, dir.path() / "list-3.txt");
  Recorder r(dir.path());
  r.answers = {OverwriteAnswer::Yes, OverwriteAnswer::Yes, OverwriteAnswer::Yes};
  const LineList lines = Lines(kTen);
  RunSplit(lines, cp::ShiftJis, MakeSplitPlan(SplitMode::Files, 10, 3), r);

  EXPECT_EQ(r.asked.size(), 3u);
  for (const char* name : {"list-1.txt", "list-2.txt", "list-3.txt"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.path() / name))) << name;
  }
  EXPECT_EQ(r.file(1), "a\nb\nc\nd\n");
  EXPECT_EQ(r.file(3), "i\nj\n");
  EXPECT_FALSE(fs::exists(dir.path() / "nowhere.txt"));
  EXPECT_TRUE(fs::is_empty(dir.path() / "folder"));
  EXPECT_EQ(ReadAll(kept), "kept");
  // The new file has the mode of a new file, not the one of the link's target.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(static_cast<mode_t>(fs::status(dir.path() / "list-3.txt").permissions()), 0666 & ~mask);
}

TEST(SplitRun, CancelWritesTheFileInHandThenStops) {
  TempDir dir;
  Recorder r(dir.path());
  r.cancelAtProgress = 2;
  const LineList lines = Lines(kTen);
  SplitResult result = RunSplit(lines, cp::ShiftJis, MakeSplitPlan(SplitMode::Files, 10, 3), r);
  EXPECT_TRUE(result.canceled);
  EXPECT_EQ(r.file(1), "a\nb\n");
  EXPECT_FALSE(r.exists(2));
}

TEST(SplitRun, EncodingsAndMarks) {
  struct Case {
    const char* name;
    int32_t codePage;
    std::string text;  // lines as UTF-8
    std::string lb;
    std::string bytes;
  } cases[] = {
      {"Shift_JIS with LF", cp::ShiftJis, "a\nb\n", "\n", "a\nb\n"},
      {"Shift_JIS Japanese", cp::ShiftJis, "\xE3\x81\x82\n", "\r\n", "\x82\xA0\r\n"},
      {"UTF-8 without mark gets one", cp::Utf8, "\xE3\x81\x82\n", "\r\n", "\xEF\xBB\xBF\xE3\x81\x82\r\n"},
      {"UTF-16 LE", cp::Utf16LE, "a\n", "\r\n",
       std::string("\xFF\xFE"
                   "a\0\r\0\n\0",
                   8)},
      {"UTF-16 BE with a pair", cp::Utf16BE, "\xF0\x9F\x98\x80\n", "\n",
       std::string("\xFE\xFF\xD8\x3D\xDE\x00\x00\n", 8)},
      {"empty UTF-16 file holds the mark", cp::Utf16LE, "", "\r\n", "\xFF\xFE"},
      {"empty Shift_JIS file is empty", cp::ShiftJis, "", "\r\n", ""},
      {"JIS returns to ASCII before the break", cp::Jis, "\xE3\x81\x82\n", "\r\n", "\x1B$B\x24\x22\x1B(B\r\n"},
      {"ANSI", cp::Ansi, "caf\xC3\xA9\n", "\r", "caf\xE9\r"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    Recorder r(dir.path());
    r.lb = c.lb;
    const LineList lines = Lines(c.text);
    RunSplit(lines, c.codePage, MakeSplitPlan(SplitMode::Files, static_cast<int64_t>(lines.count()), 1), r);
    EXPECT_EQ(r.file(1), c.bytes) << c.name;
  }
}

TEST(SplitRun, ReadThenWriteGivesTheInputBytesBack) {
  // A split without reordering reproduces the input exactly, whatever its code page.
  std::string ansi;
  for (int b = 0x20; b < 0x100; ++b) ansi += static_cast<char>(b);
  // Every Shift_JIS byte that stands alone (controls such as 1A, 1C and 7F
  // included), once the file is known to be Shift_JIS.
  std::string sjisSingles = "\x82\xA0\r\n";
  for (int b = 0; b < 0x100; ++b) {
    if (b != '\r' && b != '\n' && (b < 0x81 || b > 0x9F) && (b < 0xE0 || b > 0xFC)) sjisSingles += static_cast<char>(b);
  }
  sjisSingles += "\r\n";
  const std::string inputs[] = {
      sjisSingles,
      "\x1B$BF|K\\\x1B(I12\x1B(B\r\n",  // JIS: kanji, then halfwidth katakana after ESC ( I
      "one\r\ntwo\r\n",
      std::string(600, 'x') + "\r\n" + ansi + "\r\n",  // ANSI, decided only after the window
      "\x82\xA0\x82\xA2\r\n\xB1\xB2\r\n",              // Shift_JIS with halfwidth katakana
      "\xA4\xA2\xA4\xA4\n\xB0\xA1\n",                  // EUC-JP
      "\x1B$B\x24\x22\x1B(B\r\nabc\r\n",               // JIS
      "\xEF\xBB\xBF\xE3\x81\x82\n\xF0\x9F\x98\x80\n",  // UTF-8 with mark
      std::string("\xFF\xFE\x00\xD8"
                  "a\0\r\0\n\0",
                  10),  // UTF-16 with a lone surrogate
      "a\rb\rc\r",
  };
  for (const std::string& input : inputs) {
    TempDir dir;
    int32_t codePage = 0;
    std::string lineBreak;
    const LineList lines = ReadLines(dir.write("in.txt", input), codePage, lineBreak);
    Recorder r(dir.path());
    r.lb = lineBreak;
    RunSplit(lines, codePage, MakeSplitPlan(SplitMode::Files, static_cast<int64_t>(lines.count()), 1), r);
    EXPECT_EQ(r.file(1), input) << CodePageName(codePage);
  }
}

TEST(SplitRun, LoneSurrogatesAreWrittenAsOneReplacement) {
  // Read from UTF-16, a lone surrogate stays in UTF-16 output; elsewhere it
  // is one U+FFFD, or one substitution character where that has no code.
  const std::string input(
      "\xFF\xFE"
      "a\0\x00\xD8"
      "b\0\n\0",
      10);
  struct Case {
    int32_t codePage;
    std::string bytes;
  } cases[] = {
      {cp::Utf16LE, input},
      {cp::Utf8,
       "\xEF\xBB\xBF"
       "a\xEF\xBF\xBD"
       "b\n"},
      {cp::NotText,
       "a\xEF\xBF\xBD"
       "b\n"},
      {cp::ShiftJis,
       "a\xFC\xFC"
       "b\n"},
      {cp::EucJp,
       "a\xF4\xFE"
       "b\n"},
      {cp::Jis,
       "a\x1A"
       "b\n"},
      {cp::Ansi,
       "a\x1A"
       "b\n"},
  };
  TempDir dir;
  int32_t codePage = 0;
  std::string lineBreak;
  const LineList lines = ReadLines(dir.write("in.txt", input), codePage, lineBreak);
  for (const Case& c : cases) {
    Recorder r(dir.path());
    r.overwrite = true;
    RunSplit(lines, c.codePage, MakeSplitPlan(SplitMode::Files, 1, 1), r);
    EXPECT_EQ(r.file(1), c.bytes) << CodePageName(c.codePage);
  }
}

TEST(SplitRun, LongStretchesOfLinesGiveTheSameBytesAsLineByLine) {
  // Lines that lie one after another are written as one stretch, and lines
  // scattered by a reordering are gathered on two threads; breaks in the
  // text that differ from the output break, characters the encoding changes
  // and the order of the lines must still come out as line by line.
  std::string text;
  for (int i = 0; i < 400000; ++i) {
    text += "line " + std::to_string(i);
    text += i % 100000 == 7 ? "\r\n" : "\n";   // a few CR LF among the LF
    if (i == 250000) text += "caf\xC3\xA9\n";  // one line the ANSI encoding changes
  }
  struct Case {
    const char* name;
    int32_t codePage;
    std::string lb;
    enum { Kept, Reversed, Shuffled } order;
  } cases[] = {
      {"UTF-8, same break", cp::Utf8, "\n", Case::Kept},     {"ANSI, same break", cp::Ansi, "\n", Case::Kept},
      {"ANSI, other break", cp::Ansi, "\r\n", Case::Kept},   {"UTF-8, reversed", cp::Utf8, "\n", Case::Reversed},
      {"UTF-8, shuffled", cp::Utf8, "\r\n", Case::Shuffled}, {"ANSI, shuffled", cp::Ansi, "\n", Case::Shuffled},
  };
  for (const Case& c : cases) {
    TempDir dir;
    Recorder r(dir.path());
    r.lb = c.lb;
    LineList lines;
    ByteBuffer bytes = AllocateBytes(text.size());
    std::memcpy(bytes.get(), text.data(), text.size());
    lines.appendText(std::make_shared<TextChunk>(std::move(bytes), 0, text.size()), "\n");
    if (c.order == Case::Reversed) std::reverse(lines.lines().begin(), lines.lines().end());
    std::mt19937_64 random(7);
    if (c.order == Case::Shuffled) std::shuffle(lines.lines().begin(), lines.lines().end(), random);
    const int64_t n = static_cast<int64_t>(lines.count());
    RunSplit(lines, c.codePage, MakeSplitPlan(SplitMode::Files, n, 2), r);

    std::string expected = c.codePage == cp::Utf8 ? "\xEF\xBB\xBF" : "";
    for (int64_t i = 0; i < n; ++i) {
      std::string line(lines[static_cast<size_t>(i)]);
      if (c.codePage == cp::Ansi && line == "caf\xC3\xA9") line = "caf\xE9";
      expected += line + c.lb;
      if (i == (n + 1) / 2 - 1) expected += c.codePage == cp::Utf8 ? "\xEF\xBB\xBF" : "";
    }
    EXPECT_TRUE(r.file(1) + r.file(2) == expected) << c.name;
  }
}

namespace {
int failAfterBytes = -1;
long FailingWrite(int fd, const void* data, unsigned long size) {
  if (failAfterBytes >= 0 && static_cast<long>(size) > failAfterBytes) {
    errno = ENOSPC;
    return -1;
  }
  return RealFileSystemCalls().write(fd, data, size);
}
}  // namespace

TEST(SplitRun, WriteFailuresKeepExistingFilesWhole) {
  TempDir dir;
  Recorder r(dir.path());
  r.overwrite = true;
  dir.write("list-1.txt", "precious");
  FileSystemCalls failing = RealFileSystemCalls();
  failing.write = FailingWrite;
  failAfterBytes = 0;
  SetFileSystemCallsForTesting(&failing);
  const LineList lines = Lines(kTen);
  try {
    RunSplit(lines, cp::ShiftJis, MakeSplitPlan(SplitMode::Files, 10, 1), r);
    ADD_FAILURE() << "the disk-full write passed as success";
  } catch (const WriteError& e) {
    EXPECT_STREQ(e.what(), "ストリームへの書き込みエラー");
  }
  SetFileSystemCallsForTesting(nullptr);
  EXPECT_EQ(r.file(1), "precious");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "a temporary file was left";

  // A folder that does not exist: the file cannot be created.
  Recorder missing(dir.path() / "gone");
  try {
    RunSplit(lines, cp::ShiftJis, MakeSplitPlan(SplitMode::Files, 10, 1), missing);
    ADD_FAILURE() << "writing into a missing folder passed as success";
  } catch (const WriteError& e) {
    EXPECT_EQ(std::string(e.what()), "ファイル \"" + (dir.path() / "gone" / "list-1.txt").string() +
                                         "\" を作成できません。No such file or directory");
  }
}

TEST(OutputFileName, Names) {
  struct Case {
    const char* folder;
    const char* input;
    int64_t k;
    const char* expected;
  } cases[] = {
      {"/data/", "/data/list.txt", 1, "/data/list-1.txt"},
      {"/data", "/data/list.txt", 12, "/data/list-12.txt"},
      {"/out/", "/in/archive.tar.gz", 1, "/out/archive.tar-1.gz"},
      {"/out/", "/in/README", 1, "/out/README-1"},
      {"/out/", "/in/.profile", 1, "/out/-1.profile"},
      {"/out", "/in/.profile", 1, "/out-1.profile"},
      {"/out/", "/in/name.", 1, "/out/name-1."},
      {"/out/", "/in.d/README", 1, "/out/README-1"},
      {"", "list.txt", 2,
       "list-2"
       ".txt"},
      {"/o/", "/in/a\\b:c<d>|\".txt", 1, "/o/a\\b:c<d>|\"-1.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(OutputFileName(c.folder, c.input, c.k), c.expected) << c.input;
  EXPECT_THROW(OutputFileName("/out/", "/in/li\nst.txt", 1), InvalidPathError);
  EXPECT_THROW(OutputFileName("/o\tut/", "/in/list.txt", 1), InvalidPathError);
  EXPECT_NO_THROW(OutputFileName("/o\tut", "/in/.profile", 1));  // the folder is not looked at without a base
}

TEST(SplitArithmetic, RoundsUpWithTheZeroRules) {
  EXPECT_EQ(LinesPerFile(10, 4), 3);
  EXPECT_EQ(LinesPerFile(10, 0), 10);
  EXPECT_EQ(LinesPerFile(12345, 3), 4115);
  EXPECT_EQ(FilesForLines(10, 3), 4);
  EXPECT_EQ(FilesForLines(10, 0), 1);
  EXPECT_EQ(FilesForLines(0, 0), 0);
  EXPECT_EQ(LinesPerFile(0, 3), 0);
  EXPECT_EQ(FilesForLines(4000000000LL, 2000000000), 2);
}
