// Runs the built varnopel-split on small fixtures and checks exit statuses,
// messages and the bytes of the files it writes.
//
// Still to come: the same fixtures through the window's Execute, to show
// that both write the same files byte for byte (blocks and dealt out).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

class TempDir {
 public:
  TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "varnopel-cli-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data());
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ / name, std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  bool has(const std::string& name) const { return fs::exists(fs::symlink_status(path_ / name)); }
  std::set<std::string> names() const {
    std::set<std::string> out;
    for (const auto& e : fs::directory_iterator(path_)) out.insert(e.path().filename().string());
    return out;
  }

 private:
  fs::path path_;
};

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Slurp(int fd) {
  std::string s;
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) s.append(buffer, static_cast<size_t>(got));
  return s;
}

// How the program is started.
struct Start {
  bool ttyStderr = false;          // standard error is a pseudo-terminal
  const char* stdoutTo = nullptr;  // standard output goes there instead of into Result::out
  int limit = -1;                  // a resource limit (RLIMIT_*) of the program alone
  rlim_t limitValue = 0;
};

// Runs the program in `cwd` with a 30 s limit.
Result Invoke(const fs::path& cwd, const std::vector<std::string>& args, const Start& start = {}) {
  const bool ttyStderr = start.ttyStderr;
  const fs::path outFile = cwd / ".." / (cwd.filename().string() + ".out");
  const fs::path errFile = cwd / ".." / (cwd.filename().string() + ".err");
  int master = -1, slave = -1;
  if (ttyStderr && ::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) ADD_FAILURE() << "no pty";

  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::chdir(cwd.c_str()) != 0) ::_exit(126);
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(start.stdoutTo ? start.stdoutTo : outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = ttyStderr ? slave : ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    const rlimit limit{start.limitValue, start.limitValue};
    if (start.limit >= 0 && ::setrlimit(start.limit, &limit) != 0) ::_exit(126);
    std::vector<char*> argv{const_cast<char*>(VARNOPEL_SPLIT)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(VARNOPEL_SPLIT, argv.data());
    ::_exit(127);
  }
  Result r;
  int wstatus = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (::waitpid(pid, &wstatus, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &wstatus, 0);
      ADD_FAILURE() << "varnopel-split did not finish within 30 s";
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  std::ifstream o(outFile, std::ios::binary);
  r.out.assign(std::istreambuf_iterator<char>(o), std::istreambuf_iterator<char>());
  if (ttyStderr) {
    ::fcntl(master, F_SETFL, O_NONBLOCK);  // the slave is still open here: no EOF
    r.err = Slurp(master);
    ::close(master);
    ::close(slave);
  } else {
    std::ifstream e(errFile, std::ios::binary);
    r.err.assign(std::istreambuf_iterator<char>(e), std::istreambuf_iterator<char>());
  }
  fs::remove(outFile);
  fs::remove(errFile);
  return r;
}

// The program is built as the tests are; with AddressSanitizer its shadow
// memory does not fit under an address-space limit.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif

std::vector<std::string> Args(std::initializer_list<const char*> list) { return {list.begin(), list.end()}; }

// One letter a line, each followed by `lb`.
std::string Lines(const std::string& letters, const std::string& lb = "\r\n") {
  std::string s;
  for (const char c : letters) s += std::string(1, c) + lb;
  return s;
}

const std::string kTen = Lines("abcdefghij");  // detected as ANSI, CR LF

std::string Hex(const std::string& bytes) {
  std::ostringstream s;
  for (const unsigned char c : bytes) s << std::hex << (c < 16 ? "0" : "") << int(c) << ' ';
  return s.str();
}

}  // namespace

// Every mode, blocks and dealt out, with --only and --header; the plan
// printed first must name the same files and line counts as the run writes.
TEST(SplitCli, ModesWriteThePlannedFiles) {
  struct Case {
    std::vector<std::string> args;
    std::vector<const char*> files;  // letters of file k; null: not written
    int header = 0;
  };
  const Case cases[] = {
      {{}, {"abcdefghij"}},
      {Args({"--files", "3"}), {"abcd", "efgh", "ij"}},
      {Args({"--files", "3", "--deal"}), {"adgj", "beh", "cfi"}},
      {Args({"--lines", "4"}), {"abcd", "efgh", "ij"}},
      {Args({"--lines=4", "--deal"}), {"adgj", "beh", "cfi"}},
      {Args({"--lines", "25"}), {"abcdefghij"}},
      {Args({"--head", "3"}), {"abc", "defghij"}},
      {Args({"--head", "0"}), {"", "abcdefghij"}},
      {Args({"--head", "3", "--deal"}), {"ace", "bdfghij"}},
      {Args({"--files", "7"}), {"ab", "cd", "ef", "gh", "ij", "", ""}},
      // A left-out file still uses up its block.
      {Args({"--files", "7", "--only", "1,6-7"}), {"ab", nullptr, nullptr, nullptr, nullptr, "", ""}},
      {Args({"--files", "3", "--only", "2"}), {nullptr, "efgh", nullptr}},
      {Args({"--files", "3", "--deal", "--only", "2"}), {nullptr, "beh", nullptr}},
      {Args({"--header", "2", "--files", "2"}), {"abcdef", "abghij"}, 2},
      {Args({"--header", "1", "--files", "3", "--deal"}), {"abeh", "acfi", "adgj"}, 1},
      {Args({"--reverse", "--header", "1", "--head", "4"}), {"jihgf", "jedcba"}, 1},
  };
  for (const Case& c : cases) {
    std::string label;
    for (const auto& a : c.args) label += a + " ";
    SCOPED_TRACE(label);
    TempDir dir;
    dir.write("list.txt", kTen);
    std::vector<std::string> args = c.args;
    args.push_back("list.txt");

    std::vector<std::string> planArgs = args;
    planArgs.insert(planArgs.begin(), "--plan");
    const Result plan = Invoke(dir.path(), planArgs);
    ASSERT_EQ(plan.status, 0) << plan.err;
    EXPECT_EQ(dir.names(), std::set<std::string>{"list.txt"}) << "--plan wrote files";

    const Result run = Invoke(dir.path(), args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "") << "standard error is not a terminal: no progress";

    std::string expectedPlan;
    std::set<std::string> expectedNames{"list.txt"};
    for (size_t k = 1; k <= c.files.size(); ++k) {
      const std::string name = "list-" + std::to_string(k) + ".txt";
      const char* letters = c.files[k - 1];
      if (!letters) continue;
      expectedNames.insert(name);
      EXPECT_EQ(dir.read(name), Lines(letters)) << name;
      expectedPlan += name + "\t" + std::to_string(std::string(letters).size() - c.header) + "\n";
    }
    EXPECT_EQ(dir.names(), expectedNames);
    EXPECT_EQ(plan.out, expectedPlan);
  }
}

// Reorderings run in the order given, with the chosen comparison.
TEST(SplitCli, ReorderingsApplyInTheOrderGiven) {
  struct Case {
    std::vector<std::string> args;
    const char* input;
    const char* output;
  };
  const std::string sortable = "a10\nb\na2\nA3\na1\n";
  const std::string repeats = "x\ny\nx\nz\ny\n";
  const Case cases[] = {
      {Args({"--sort", "asc"}), sortable.c_str(), "a1\na2\nA3\na10\nb\n"},
      {Args({"--sort", "desc"}), sortable.c_str(), "b\na10\nA3\na2\na1\n"},
      {Args({"--order", "dictionary", "--sort", "asc"}), sortable.c_str(), "A3\na1\na10\na2\nb\n"},
      {Args({"--sort", "asc", "--reverse"}), sortable.c_str(), "b\na10\nA3\na2\na1\n"},
      // Removal keeps first occurrences in input order, as awk '!seen[$0]++'
      // does; --reverse after it gives the window's order.
      {Args({"--dedup"}), repeats.c_str(), "x\ny\nz\n"},
      {Args({"--dedup", "--reverse"}), repeats.c_str(), "z\ny\nx\n"},
      {Args({"--dedup", "--sort", "asc"}), repeats.c_str(), "x\ny\nz\n"},
      {Args({"--sort", "desc", "--dedup"}), repeats.c_str(), "z\ny\nx\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    TempDir dir;
    dir.write("in.txt", c.input);
    std::vector<std::string> args = c.args;
    args.push_back("in.txt");
    const Result r = Invoke(dir.path(), args);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.read("in-1.txt"), c.output);
  }
}

TEST(SplitCli, ShuffleWithASeedRepeatsAndKeepsEveryLine) {
  TempDir dir;
  dir.write("list.txt", kTen);
  auto shuffled = [&](const char* seed) {
    const Result r = Invoke(dir.path(), Args({"--shuffle", "--seed", seed, "--force", "list.txt"}));
    EXPECT_EQ(r.status, 0) << r.err;
    return dir.read("list-1.txt");
  };
  const std::string first = shuffled("42");
  EXPECT_EQ(shuffled("42"), first);
  EXPECT_NE(first, kTen);
  std::string sorted = first;
  std::sort(sorted.begin(), sorted.end());
  std::string expected = kTen;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(sorted, expected);
}

// Output bytes: the last input's code page (UTF-8 gains its mark) and line
// break, or the one asked for.
TEST(SplitCli, WritesTheInputsEncodingAndLineBreak) {
  struct Case {
    const char* name;
    std::string input;
    std::vector<std::string> args;
    std::vector<std::string> outputs;
  };
  const std::string sjis = "\x82\xa0\r\n\x82\xa2\r\n";  // あ い
  const std::string u16le = std::string(
      "\xff\xfe"
      "a\0\r\0\n\0b\0\r\0\n\0",
      14);
  const std::string u16be = std::string(
      "\xfe\xff"
      "\0a\0\n\0b\0\n",
      10);
  const Case cases[] = {
      {"SJIS", sjis, Args({"--files", "2"}), {"\x82\xa0\r\n", "\x82\xa2\r\n"}},
      {"SJIS to LF", sjis, Args({"--eol", "lf"}), {"\x82\xa0\n\x82\xa2\n"}},
      {"SJIS to CR", sjis, Args({"--eol", "cr"}), {"\x82\xa0\r\x82\xa2\r"}},
      {"UTF-8 without mark gains one",
       "\xe3\x81\x82\n\xe3\x81\x84\n",
       Args({"--files", "2"}),
       {"\xef\xbb\xbf\xe3\x81\x82\n", "\xef\xbb\xbf\xe3\x81\x84\n"}},
      {"UTF-8 with mark, CR",
       "\xef\xbb\xbf"
       "a\rb\r",
       Args({"--files", "2"}),
       {"\xef\xbb\xbf"
        "a\r",
        "\xef\xbb\xbf"
        "b\r"}},
      {"UTF-8 to CRLF",
       "\xef\xbb\xbf"
       "a\nb\n",
       Args({"--eol", "crlf"}),
       {"\xef\xbb\xbf"
        "a\r\nb\r\n"}},
      {"UTF-16LE",
       u16le,
       Args({"--files", "2"}),
       {std::string("\xff\xfe"
                    "a\0\r\0\n\0",
                    8),
        std::string("\xff\xfe"
                    "b\0\r\0\n\0",
                    8)}},
      {"UTF-16LE empty file", u16le, Args({"--head", "0"}), {"\xff\xfe", u16le}},
      {"UTF-16BE",
       u16be,
       Args({"--files", "2"}),
       {std::string("\xfe\xff\0a\0\n", 6), std::string("\xfe\xff\0b\0\n", 6)}},
      {"EUC-JP", "\xa4\xa2\r\n\xa4\xa4\r\n", Args({}), {"\xa4\xa2\r\n\xa4\xa4\r\n"}},
      {"JIS", "\x1b$B$\"\x1b(B\r\n", Args({}), {"\x1b$B$\"\x1b(B\r\n"}},
      {"ANSI", "caf\xe9\r\n", Args({}), {"caf\xe9\r\n"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.write("in.txt", c.input);
    std::vector<std::string> args = c.args;
    args.push_back("in.txt");
    const Result r = Invoke(dir.path(), args);
    ASSERT_EQ(r.status, 0) << r.err;
    for (size_t k = 0; k < c.outputs.size(); ++k) {
      EXPECT_EQ(Hex(dir.read("in-" + std::to_string(k + 1) + ".txt")), Hex(c.outputs[k])) << "file " << k + 1;
    }
  }
}

// Inputs join in name order; the last one names the output and decides its
// code page and line break.
TEST(SplitCli, InputsJoinInNameOrderAndTheLastDecides) {
  TempDir dir;
  dir.write("a10.txt", std::string("\xff\xfe"
                                   "3\0\r\0\n\0",
                                   8));
  dir.write("a2.txt", "\x82\xa0\n");
  dir.write("a1.txt", "1\r\n");

  Result r = Invoke(dir.path(), Args({"a2.txt", "a10.txt", "a1.txt"}));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Hex(dir.read("a10-1.txt")), Hex(std::string("\xff\xfe"
                                                        "1\0\r\0\n\0"
                                                        "\x42\x30\r\0\n\0"
                                                        "3\0\r\0\n\0",
                                                        20)));

  r = Invoke(dir.path(), Args({"--name-order", "dictionary", "a2.txt", "a10.txt", "a1.txt"}));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Hex(dir.read("a2-1.txt")), Hex("1\n3\n\x82\xa0\n"));
}

TEST(SplitCli, DetectListsEachInputAndWritesNothing) {
  TempDir dir;
  dir.write("a1.txt", "\x82\xa0\r\n\x82\xa2\r\n");
  dir.write("a2.txt", std::string("\xff\xfe"
                                  "a\0\n\0",
                                  6));
  dir.write("a3.txt", "");
  dir.write("a4.txt", "x\ry\rz\r");
  dir.write("a10.txt", "\xef\xbb\xbf\xff\n");  // invalid UTF-8 after the mark
  const std::set<std::string> before = dir.names();

  const Result r = Invoke(dir.path(), Args({"--detect", "a10.txt", "a4.txt", "a3.txt", "a2.txt", "a1.txt"}));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out,
            "a1.txt\tSJIS\t932\tCRLF\t2\n"
            "a2.txt\tUTF16LE\t1200\tLF\t1\n"
            "a3.txt\tUnknown\t0\t-\t0\n"
            "a4.txt\tANSI\t1252\tCR\t3\n");
  EXPECT_EQ(r.err, "varnopel-split: cannot read a10.txt: invalid UTF-8\n");
  EXPECT_EQ(dir.names(), before);
}

TEST(SplitCli, ExistingFilesStopTheRunUnlessForced) {
  TempDir dir;
  dir.write("list.txt", kTen);
  dir.write("list-2.txt", "old");

  Result r = Invoke(dir.path(), Args({"--files", "3", "list.txt"}));
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.err.find("  list-2.txt\n"), std::string::npos) << r.err;
  EXPECT_EQ(dir.names(), (std::set<std::string>{"list.txt", "list-2.txt"}));
  EXPECT_EQ(dir.read("list-2.txt"), "old");

  // Only the files to write are looked at.
  r = Invoke(dir.path(), Args({"--files", "3", "--only", "1,3", "list.txt"}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(dir.read("list-2.txt"), "old");
  EXPECT_EQ(dir.read("list-3.txt"), Lines("ij"));

  r = Invoke(dir.path(), Args({"--files", "3", "--force", "list.txt"}));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(dir.read("list-2.txt"), Lines("efgh"));
}

// Each refusal has its status and message, and nothing is written.
TEST(SplitCli, ErrorsHaveTheirStatusAndWriteNothing) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{}, 2, "no input files"},
      {Args({"--frobnicate", "list.txt"}), 2, "unknown option --frobnicate"},
      {Args({"--files", "0", "list.txt"}), 2, "--files must be from 1 to 10"},
      {Args({"--files", "11", "list.txt"}), 2, "--files must be from 1 to 10"},
      {Args({"--files", "-1", "list.txt"}), 2, "--files expects a whole number"},
      {Args({"--files", "2", "--lines", "3", "list.txt"}), 2, "only one of"},
      {Args({"--head", "11", "list.txt"}), 2, "--head must be from 0 to 10"},
      {Args({"--header", "4", "--head", "7", "list.txt"}), 2, "--head must be from 0 to 6"},
      {Args({"--sort", "up", "list.txt"}), 2, "--sort expects asc or desc"},
      {Args({"--only", "4", "--files", "3", "list.txt"}), 2, "there are 3 files"},
      {Args({"--only", "2-1", "list.txt"}), 2, "runs backwards"},
      {Args({"--header", "11", "list.txt"}), 2, "more than the 10 lines"},
      {Args({"--files"}), 2, "--files needs a value"},
      {Args({"missing.txt", "list.txt"}), 1, "cannot read missing.txt: "},
      {Args({"bad.txt"}), 1, "cannot read bad.txt: invalid UTF-8"},
      {Args({"bad\x01name.txt"}), 4, "control character: bad\\x01name.txt"},
      {Args({"--out", "out\x1f", "list.txt"}), 4, "control character: out\\x1F"},
      {Args({"--out", "nowhere", "list.txt"}), 5, "cannot write into nowhere: No such file or directory"},
      {Args({"--out", "list.txt", "list.txt"}), 5, "cannot write into list.txt: Not a directory"},
      {Args({"empty.txt"}), 0, "no lines to split"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TempDir dir;
    dir.write("list.txt", kTen);
    dir.write("bad.txt",
              "\xef\xbb\xbf"
              "a\xc0\n");
    dir.write("bad\x01name.txt", "a\n");
    dir.write("empty.txt", "");
    const std::set<std::string> before = dir.names();
    const Result r = Invoke(dir.path(), c.args);
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(dir.names(), before);
  }
}

// A file that cannot be put in place ends the run: the files before stay,
// nothing after is written, and no partial file is left behind.
TEST(SplitCli, WriteFailureStopsCleanly) {
  TempDir dir;
  dir.write("list.txt", kTen);
  fs::create_directory(dir.path() / "list-2.txt");
  const Result r = Invoke(dir.path(), Args({"--files", "3", "--force", "list.txt"}));
  EXPECT_EQ(r.status, 5);
  EXPECT_NE(r.err.find("cannot write list-2.txt: "), std::string::npos) << r.err;
  EXPECT_EQ(dir.names(), (std::set<std::string>{"list.txt", "list-1.txt", "list-2.txt"}));
  EXPECT_EQ(dir.read("list-1.txt"), Lines("abcd"));
}

// Output that cannot be written is a failure with status 5 wherever it
// goes: standard output on a full disk, or a file over the size limit,
// which must not kill the run and leave its temporary file behind.
TEST(SplitCli, OutputThatCannotBeWrittenFailsWithStatus5) {
  std::string many;
  for (int i = 0; i < 2000; ++i) many += "line " + std::to_string(i) + "\n";
  struct Case {
    std::vector<std::string> args;
    Start start;
    const char* message;
    std::set<std::string> left;  // besides the inputs
  };
  const Start full{.stdoutTo = "/dev/full"};
  const Start small{.limit = RLIMIT_FSIZE, .limitValue = 4096};
  const Case cases[] = {
      {Args({"--plan", "--files", "3", "list.txt"}), full, "cannot write standard output: No space left on device", {}},
      // More than a buffer: the failure comes during the writes, not at the end.
      {Args({"--plan", "--lines", "1", "many.txt"}), full, "cannot write standard output", {}},
      {Args({"--detect", "list.txt", "many.txt"}), full, "cannot write standard output: No space left on device", {}},
      {Args({"--help"}), full, "cannot write standard output", {}},
      {Args({"many.txt"}), small, "cannot write many-1.txt: ", {}},
      {Args({"--head", "1", "many.txt"}), small, "cannot write many-2.txt: ", {"many-1.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    TempDir dir;
    dir.write("list.txt", kTen);
    dir.write("many.txt", many);
    const Result r = Invoke(dir.path(), c.args, c.start);
    EXPECT_EQ(r.status, 5) << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    std::set<std::string> expected = c.left;
    expected.insert({"list.txt", "many.txt"});
    EXPECT_EQ(dir.names(), expected);
  }
}

// A symbolic link at an output name counts as an existing file, dangling or
// not; --force replaces the link and never writes through it.
TEST(SplitCli, SymbolicLinksAtOutputNamesCountAsExisting) {
  struct Case {
    const char* name;
    std::function<void(const TempDir&)> make;  // list-1.txt and what it points to
  };
  const Case cases[] = {
      {"dangling", [](const TempDir& d) { fs::create_symlink("nowhere.txt", d.path() / "list-1.txt"); }},
      {"to a folder",
       [](const TempDir& d) {
         fs::create_directory(d.path() / "folder");
         fs::create_symlink("folder", d.path() / "list-1.txt");
       }},
      {"to a file",
       [](const TempDir& d) {
         d.write("kept.txt", "kept");
         fs::create_symlink("kept.txt", d.path() / "list-1.txt");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    dir.write("list.txt", kTen);
    c.make(dir);
    const std::set<std::string> before = dir.names();
    const fs::path target = fs::read_symlink(dir.path() / "list-1.txt");

    Result r = Invoke(dir.path(), Args({"list.txt"}));
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_NE(r.err.find("  list-1.txt\n"), std::string::npos) << r.err;
    EXPECT_EQ(dir.names(), before);
    std::error_code ec;
    EXPECT_EQ(fs::read_symlink(dir.path() / "list-1.txt", ec), target) << "the link was replaced";

    r = Invoke(dir.path(), Args({"--force", "list.txt"}));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.path() / "list-1.txt")));
    EXPECT_EQ(dir.read("list-1.txt"), kTen);
    EXPECT_EQ(dir.names(), before);
    EXPECT_FALSE(dir.has("nowhere.txt"));
    if (dir.has("kept.txt")) {
      EXPECT_EQ(dir.read("kept.txt"), "kept");
    }
    if (dir.has("folder")) {
      EXPECT_TRUE(fs::is_empty(dir.path() / "folder"));
    }
  }
}

// An input too big for the memory there is: said in words, with the amount,
// and nothing written. The file is sparse, so it costs no disk.
TEST(SplitCli, AnInputTooBigForMemoryIsSaidInWords) {
  if (kAddressSanitizer) GTEST_SKIP() << "AddressSanitizer cannot run under an address-space limit";
  TempDir dir;
  dir.write("list.txt", kTen);
  dir.write("big.txt", std::string(kTen.size() * 60, 'x'));
  fs::resize_file(dir.path() / "big.txt", std::uintmax_t{1} << 30);
  const std::set<std::string> before = dir.names();
  const Result r = Invoke(dir.path(), Args({"big.txt", "list.txt"}), {.limit = RLIMIT_AS, .limitValue = 512u << 20});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "varnopel-split: cannot read big.txt: it needs about 1536 MB of memory, and that much is not "
            "available\n");
  EXPECT_EQ(dir.names(), before);
}

TEST(SplitCli, ProgressOnlyOnATerminal) {
  TempDir dir;
  dir.write("list.txt", kTen);
  Result r = Invoke(dir.path(), Args({"--files", "2", "list.txt"}), {.ttyStderr = true});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.err.find("2 files written, 10 lines from 1 file (ANSI)"), std::string::npos) << r.err;

  r = Invoke(dir.path(), Args({"--quiet", "--force", "--files", "2", "list.txt"}), {.ttyStderr = true});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
}

TEST(SplitCli, HelpAndVersion) {
  TempDir dir;
  Result r = Invoke(dir.path(), Args({"--help"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Usage: varnopel-split [OPTIONS] FILE..."), std::string::npos);
  EXPECT_NE(r.out.find("ヴァルノペル"), std::string::npos);
  EXPECT_NE(r.out.find("Exit status:"), std::string::npos);
  r = Invoke(dir.path(), Args({"--version"}));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("varnopel-split V2.6 ", 0), 0u) << r.out;
}
