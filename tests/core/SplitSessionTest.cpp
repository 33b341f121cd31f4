// The session: loading, reading again, reordering, planning and the run,
// as the window and the command line use it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "session/SplitSession.h"
#include "split/OutputFileName.h"

using namespace varnopel;
using varnopel::test::ReadAll;
using varnopel::test::TempDir;

namespace {

// Records what loading said.
struct Recorder : LoadEvents {
  std::vector<std::string> events;
  bool goOnAfterFailure = true;
  void fileStarting(size_t i, size_t n, const std::string& path) override {
    events.push_back(std::to_string(i) + "/" + std::to_string(n) + " " + Name(path));
  }
  void fileLoaded(size_t, size_t, const InputFile& f) override {
    events.push_back("loaded " + Name(f.path) + " " + CodePageName(f.codePage) + " " + std::to_string(f.lines));
  }
  bool fileFailed(size_t, size_t, const std::string& path, const ReadFailure& failure) override {
    events.push_back("failed " + Name(path) + (failure.reason.empty() ? "" : " (reason given)"));
    return goOnAfterFailure;
  }
  static std::string Name(const std::string& path) { return std::filesystem::path(path).filename().string(); }
};

std::vector<std::string> Lines(const SplitSession& s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.lines().count(); ++i) out.emplace_back(s.lines()[i]);
  return out;
}

using V = std::vector<std::string>;

}  // namespace

TEST(SplitSession, LoadsInNameOrderThenAppends) {
  TempDir dir;
  V names = {dir.write("part10.txt", "c\n"), dir.write("part2.txt", "b\r\n"), dir.write("Part1.txt", "a\r")};
  SplitSession::SortNames(names, SortOrder::Numeric);
  SplitSession session;
  Recorder events;
  EXPECT_EQ(session.load(names, events), 3u);
  EXPECT_EQ(events.events, (V{"1/3 Part1.txt", "loaded Part1.txt ANSI 1", "2/3 part2.txt", "loaded part2.txt ANSI 1",
                              "3/3 part10.txt", "loaded part10.txt ANSI 1"}));
  EXPECT_EQ(Lines(session), (V{"a", "b", "c"}));
  EXPECT_EQ(session.lineBreak(), "\n");  // the last file's

  // Dictionary order compares code units: capitals first, 10 before 2.
  V again = names;
  SplitSession::SortNames(again, SortOrder::Dictionary);
  EXPECT_EQ(Recorder::Name(again[0]), "Part1.txt");
  EXPECT_EQ(Recorder::Name(again[1]), "part10.txt");

  // Appending keeps what is there.
  session.load({dir.write("more.txt", "\xE3\x81\x82\n")}, events);
  EXPECT_EQ(Lines(session), (V{"a", "b", "c", "\xE3\x81\x82"}));
  ASSERT_EQ(session.inputs().size(), 4u);
  EXPECT_EQ(session.codePage(), cp::Utf8);
}

TEST(SplitSession, AFailedReadIsReportedAndTheOthersLoad) {
  TempDir dir;
  const V names = {dir.write("a.txt", "a\n"), (dir.path() / "missing.txt").string(), dir.write("c.txt", "c\n")};
  {
    SplitSession session;
    Recorder events;
    EXPECT_EQ(session.load(names, events), 2u);
    EXPECT_EQ(events.events[3], "failed missing.txt (reason given)");
    EXPECT_EQ(Lines(session), (V{"a", "c"}));
    EXPECT_EQ(session.inputs().size(), 2u);
  }
  {
    SplitSession session;
    Recorder events;
    events.goOnAfterFailure = false;  // as the command line does
    EXPECT_EQ(session.load(names, events), 1u);
    EXPECT_EQ(events.events.back(), "failed missing.txt (reason given)");
  }
}

TEST(SplitSession, ReorderingThenReadingAgainInANewFileOrder) {
  TempDir dir;
  const std::string first = dir.write("1.txt", "a\nb\n");
  const std::string second = dir.write("2.txt", "c\nd\n");
  SplitSession session;
  Recorder events;
  session.load({first, second}, events);
  session.reverse();
  EXPECT_EQ(Lines(session), (V{"d", "c", "b", "a"}));
  session.sort(SortOrder::Dictionary, false);
  EXPECT_EQ(Lines(session), (V{"a", "b", "c", "d"}));

  dir.write("2.txt", "c\nd\ne\n");  // changed on disk since
  session.reread({second, first}, events);
  EXPECT_EQ(Lines(session), (V{"c", "d", "e", "a", "b"}));
  ASSERT_EQ(session.inputs().size(), 2u);
  EXPECT_EQ(session.inputs()[0].lines, 3u);
}

TEST(SplitSession, PlansEveryMode) {
  TempDir dir;
  SplitSession session;
  Recorder events;
  session.load({dir.write("ten.txt", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n")}, events);
  struct Case {
    SplitMode mode;
    int64_t value;
    int64_t files;
    int64_t linesPerFile;
  } cases[] = {
      {SplitMode::Files, 3, 3, 4},
      {SplitMode::Lines, 4, 3, 4},
      {SplitMode::Half, 3, 2, 3},
  };
  for (const Case& c : cases) {
    const SplitPlan plan = session.plan(c.mode, c.value);
    EXPECT_EQ(plan.files, c.files);
    EXPECT_EQ(plan.linesPerFile, c.linesPerFile);
  }
}

// Answers the overwrite questions from a list.
struct Answers : SplitCallbacks {
  std::string folder;
  std::vector<OverwriteAnswer> answers;
  V asked;
  bool all = false;
  std::string path(int64_t k) const { return OutputFileName(folder, "/x/in.txt", k); }
  bool dealOut() override { return false; }
  std::string pathFor(int64_t k) override { return path(k); }
  bool overwriteWithoutAsking() override { return all; }
  OverwriteAnswer askOverwrite(const std::string& p) override {
    asked.push_back(p);
    const OverwriteAnswer a = answers.front();
    answers.erase(answers.begin());
    return a;
  }
  void overwriteAll() override { all = true; }
  std::string lineBreak() override { return "\n"; }
};

TEST(SplitSession, RunAsksAboutExistingFilesAndKeepsTheUtf8Mark) {
  TempDir dir;
  SplitSession session;
  Recorder events;
  session.load({dir.write("in.txt", "\xE3\x81\x82\n2\n3\n4\n")}, events);
  ASSERT_EQ(session.codePage(), cp::Utf8);
  Answers a;
  a.folder = dir.path().string() + "/";
  for (int k = 1; k <= 4; ++k) std::ofstream(a.path(k)) << "old";

  // Cancel at the first question stops before anything is written.
  a.answers = {OverwriteAnswer::Cancel};
  SplitResult result = session.run(session.plan(SplitMode::Files, 4), a);
  EXPECT_TRUE(result.canceled);
  EXPECT_EQ(result.filesWritten, 0);
  EXPECT_EQ(session.codePage(), cp::Utf8);

  // No to file 1, Yes to all at file 2: files 2 to 4 are replaced, unasked after 2.
  a.asked.clear();
  a.answers = {OverwriteAnswer::No, OverwriteAnswer::YesToAll};
  result = session.run(session.plan(SplitMode::Files, 4), a);
  EXPECT_EQ(a.asked, (V{a.path(1), a.path(2)}));
  EXPECT_EQ(result.filesWritten, 3);
  EXPECT_EQ(ReadAll(a.path(1)), "old");
  EXPECT_EQ(ReadAll(a.path(2)),
            "\xEF\xBB\xBF"
            "2\n");
  EXPECT_EQ(ReadAll(a.path(4)),
            "\xEF\xBB\xBF"
            "4\n");
  EXPECT_EQ(session.codePage(), cp::Utf8Bom);  // a file was written with the mark
}

TEST(SplitSession, OutputLineBreakAndHeader) {
  TempDir dir;
  SplitSession session;
  Recorder events;
  session.load({dir.write("csv.txt", "h\rx\ry\r")}, events);
  EXPECT_EQ(session.outputLineBreak(LineBreakChoice::Same), "\r");
  EXPECT_EQ(session.outputLineBreak(LineBreakChoice::CrLf), "\r\n");
  EXPECT_EQ(session.outputLineBreak(LineBreakChoice::Lf), "\n");
  EXPECT_EQ(session.takeHeader(1), (std::vector<std::string_view>{"h"}));
  EXPECT_EQ(Lines(session), (V{"x", "y"}));
}
