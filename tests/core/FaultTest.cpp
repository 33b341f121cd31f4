// Failing disks and changing files, injected through the file-call seam under
// the real reader and the real split run.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "TestFiles.h"
#include "decoding/CheckCCode.h"
#include "split/OutputFile.h"
#include "split/OutputFileName.h"
#include "split/SplitRun.h"

using namespace varnopel;
using varnopel::test::ReadAll;
using varnopel::test::TempDir;

namespace {

// What the injected calls do; reset for each case.
struct Injection {
  int opensForWriting = 0;  // output files created so far
  int failOpenFor = 0;      // the output file whose create fails, with openError
  int openError = 0;
  int limitFile = 0;  // the output file whose writes stop after budget bytes
  long budget = 0;
  int closeError = 0;  // every close of an output file fails with it
  std::function<void()> onFirstWriteOfFile2;
  std::function<void()> onFirstRead;
  int readError = 0;      // the second read fails with it
  int readOpenError = 0;  // opening an input fails with it
  int reads = 0;
  bool eintrOnce = false;
  std::vector<int> outputFds;
} injection;

FileSystemCalls InjectedCalls() {
  FileSystemCalls calls = RealFileSystemCalls();
  calls.open = [](const char* path, int flags, unsigned mode) {
    if (flags & O_CREAT) {
      if (++injection.opensForWriting == injection.failOpenFor) {
        errno = injection.openError;
        return -1;
      }
      const int fd = RealFileSystemCalls().open(path, flags, mode);
      injection.outputFds.push_back(fd);
      return fd;
    }
    if (injection.readOpenError != 0) {
      errno = injection.readOpenError;
      return -1;
    }
    return RealFileSystemCalls().open(path, flags, mode);
  };
  calls.write = [](int fd, const void* data, unsigned long size) -> long {
    if (injection.opensForWriting == 2 && injection.onFirstWriteOfFile2) {
      auto hook = std::move(injection.onFirstWriteOfFile2);
      injection.onFirstWriteOfFile2 = nullptr;
      hook();
    }
    if (injection.opensForWriting == injection.limitFile) {
      if (injection.budget == 0) {
        errno = ENOSPC;
        return -1;
      }
      size = std::min<unsigned long>(size, static_cast<unsigned long>(injection.budget));
      injection.budget -= static_cast<long>(size);
    }
    return RealFileSystemCalls().write(fd, data, size);
  };
  calls.close = [](int fd) {
    const int result = RealFileSystemCalls().close(fd);
    const bool output =
        std::find(injection.outputFds.begin(), injection.outputFds.end(), fd) != injection.outputFds.end();
    if (output && injection.closeError != 0) {
      errno = injection.closeError;
      return -1;
    }
    return result;
  };
  calls.read = [](int fd, void* data, unsigned long size) -> long {
    ++injection.reads;
    if (injection.reads == 1 && injection.onFirstRead) injection.onFirstRead();
    if (injection.reads == 1 && injection.eintrOnce) {
      errno = EINTR;
      return -1;
    }
    if (injection.reads == 2 && injection.readError != 0) {
      errno = injection.readError;
      return -1;
    }
    return RealFileSystemCalls().read(fd, data, size);
  };
  return calls;
}

// Installs the injected calls for one case.
class Injected {
 public:
  Injected() : calls_(InjectedCalls()) {
    injection = Injection{};
    SetFileSystemCallsForTesting(&calls_);
  }
  ~Injected() { SetFileSystemCallsForTesting(nullptr); }

 private:
  FileSystemCalls calls_;
};

LineList Lines(const std::string& text, int32_t& codePage, std::string& lineBreak) {
  ByteBuffer bytes = AllocateBytes(text.size());
  std::memcpy(bytes.get(), text.data(), text.size());
  DecodedFile file = DecodeText(std::move(bytes), text.size(), codePage, lineBreak);
  LineList list;
  list.appendText(file.text, lineBreak);
  return list;
}

class Writer : public SplitCallbacks {
 public:
  explicit Writer(std::filesystem::path folder) : folder_(std::move(folder)) {}
  bool dealOut() override { return false; }
  std::string pathFor(int64_t k) override { return OutputFileName(folder_.string(), "/in/list.txt", k); }
  bool overwriteWithoutAsking() override { return true; }
  OverwriteAnswer askOverwrite(const std::string&) override { return OverwriteAnswer::Cancel; }
  std::string lineBreak() override { return "\n"; }

 private:
  std::filesystem::path folder_;
};

std::vector<std::string> Names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(Faults, FailingDisksEndTheRunWithoutHalfWrittenFiles) {
  const std::string ten = "a\nb\nc\nd\ne\nf\ng\nh\ni\nj\n";
  struct Case {
    const char* name;
    std::function<void(const std::filesystem::path&)> inject;
    std::string message;  // "%" stands for the folder
    std::vector<std::string> left;
    std::string first;   // list-1.txt afterwards
    std::string second;  // list-2.txt afterwards
  } cases[] = {
      {"disk full part-way through the second file",
       [](const std::filesystem::path&) { injection.limitFile = 2, injection.budget = 3; },
       "ストリームへの書き込みエラー",
       {"list-1.txt", "list-2.txt"},
       "a\nb\nc\nd\ne\n",
       "precious"},
      {"permission denied on create",
       [](const std::filesystem::path&) { injection.failOpenFor = 1, injection.openError = EACCES; },
       "ファイル \"%/list-1.txt\" を作成できません。Permission denied",
       {"list-2.txt"},
       "<none>",
       "precious"},
      {"the folder vanishes during the run",
       [](const std::filesystem::path& folder) {
         injection.onFirstWriteOfFile2 = [folder] { std::filesystem::remove_all(folder); };
       },
       "ファイル \"%/list-2.txt\" を作成できません。No such file or directory",
       {},
       "<none>",
       "<none>"},
      {"closing fails (a full disk seen only at close)",
       [](const std::filesystem::path&) { injection.closeError = EIO; },
       "ストリームへの書き込みエラー",
       {"list-2.txt"},
       "<none>",
       "precious"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::filesystem::path folder = dir.path() / "out";
    std::filesystem::create_directory(folder);
    std::ofstream(folder / "list-2.txt") << "precious";
    int32_t codePage = 0;
    std::string lineBreak;
    const LineList lines = Lines(ten, codePage, lineBreak);
    Writer writer(folder);
    std::string message = "(no error)";
    {
      Injected injected;
      c.inject(folder);
      try {
        RunSplit(lines, codePage, MakeSplitPlan(SplitMode::Files, 10, 2), writer);
      } catch (const WriteError& e) {
        message = e.what();
      }
    }
    std::string expected = c.message;
    if (const size_t at = expected.find('%'); at != std::string::npos) expected.replace(at, 1, folder.string());
    EXPECT_EQ(message, expected) << c.name;
    EXPECT_EQ(Names(folder), c.left) << c.name;
    auto content = [&](const char* name) {
      return std::filesystem::exists(folder / name) ? ReadAll((folder / name).string()) : std::string("<none>");
    };
    EXPECT_EQ(content("list-1.txt"), c.first) << c.name;
    EXPECT_EQ(content("list-2.txt"), c.second) << c.name;
  }
}

TEST(Faults, ShortWritesStillWriteEveryByte) {
  TempDir dir;
  int32_t codePage = 0;
  std::string lineBreak;
  const LineList lines = Lines("one\ntwo\nthree\n", codePage, lineBreak);
  Writer writer(dir.path());
  {
    Injected injected;
    // The system may take fewer bytes than asked: every write here takes at most 2.
    FileSystemCalls calls = InjectedCalls();
    calls.write = [](int fd, const void* data, unsigned long size) {
      return RealFileSystemCalls().write(fd, data, std::min(size, 2ul));
    };
    SetFileSystemCallsForTesting(&calls);
    RunSplit(lines, codePage, MakeSplitPlan(SplitMode::Files, 3, 1), writer);
  }
  EXPECT_EQ(ReadAll((dir.path() / "list-1.txt").string()), "one\ntwo\nthree\n");
}

TEST(Faults, InputsThatChangeOrFailWhileRead) {
  struct Case {
    const char* name;
    std::function<void(const std::string&)> inject;
    std::string lines;  // the lines read, joined with "|", or the error
  } cases[] = {
      {"grows while read",
       [](const std::string& path) {
         injection.onFirstRead = [path] { std::ofstream(path, std::ios::app) << "late\n"; };
       },
       "one|two|late"},
      {"shrinks while read",
       [](const std::string& path) { injection.onFirstRead = [path] { ::truncate(path.c_str(), 4); }; }, "one"},
      {"interrupted read is repeated", [](const std::string&) { injection.eintrOnce = true; }, "one|two"},
      {"read error", [](const std::string&) { injection.readError = EIO; }, "cannot read: Input/output error"},
      {"permission denied", [](const std::string&) { injection.readOpenError = EACCES; },
       "cannot open: Permission denied"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    // The first read takes it all; a second one is asked for to see the end.
    const std::string path = dir.write("in.txt", "one\ntwo\n");
    int32_t codePage = -1;
    std::string lineBreak = "unset";
    std::string got;
    {
      Injected injected;
      c.inject(path);
      try {
        DecodedFile file = ReadTextFile(path, codePage, lineBreak);
        LineList list;
        list.appendText(file.text, lineBreak);
        for (size_t i = 0; i < list.count(); ++i) got += (i ? "|" : "") + std::string(list[i]);
      } catch (const TextFileError& e) {
        got = e.what();
        EXPECT_EQ(codePage, -1) << c.name << ": a failed read must not change the detected code page";
        EXPECT_EQ(lineBreak, "unset") << c.name;
      }
    }
    EXPECT_EQ(got, c.lines) << c.name;
  }
}

TEST(Faults, HostileContents) {
  const std::string japanese = "\xE6\x97\xA5\xE6\x9C\xAC\n";  // UTF-8, decided inside the first 512 bytes
  struct Case {
    const char* name;
    std::string bytes;
    int32_t codePage;
    size_t lines;       // lines in the list
    std::string error;  // or the reader's complaint
  } cases[] = {
      {"0 bytes", "", cp::NotText, 0, ""},
      {"binary",
       std::string("\x7F"
                   "ELF\x02\x01\x01\0\0\0",
                   10),
       cp::NotText, 0, ""},
      {"invalid UTF-8 after byte 512", japanese + std::string(600, 'x') + "\xC3\x28\n", cp::Utf8, 0, "invalid UTF-8"},
      {"a lone byte after a UTF-16 mark", "\xFF\xFE\x41", cp::Utf16LE, 0,
       "a single byte after the UTF-16 byte-order mark"},
      {"an odd final byte in UTF-16 is dropped",
       std::string("\xFF\xFE"
                   "a\0\n\0b",
                   7),
       cp::Utf16LE, 1, ""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.write("in.txt", c.bytes);
    int32_t codePage = -1;
    std::string lineBreak;
    LineList list;
    std::string error;
    try {
      list.appendText(ReadTextFile(path, codePage, lineBreak).text, lineBreak);
    } catch (const TextFileError& e) {
      error = e.what();
    }
    EXPECT_EQ(codePage, c.codePage) << c.name;
    EXPECT_EQ(list.count(), c.lines) << c.name;
    EXPECT_EQ(error, c.error) << c.name;
  }
}

TEST(Faults, OneLineOf100MiBIsReadAndWrittenWhole) {
  TempDir dir;
  std::string line(100u << 20, 'x');
  line[12345] = '\t';
  const std::string path = dir.write("in.txt", line);
  int32_t codePage = 0;
  std::string lineBreak;
  LineList list;
  list.appendText(ReadTextFile(path, codePage, lineBreak).text, lineBreak);
  ASSERT_EQ(list.count(), 1u);
  EXPECT_EQ(list[0].size(), line.size());
  Writer writer(dir.path());
  RunSplit(list, codePage, MakeSplitPlan(SplitMode::Files, 1, 2), writer);
  EXPECT_TRUE(ReadAll((dir.path() / "list-1.txt").string()) == line + "\n");
  EXPECT_EQ(ReadAll((dir.path() / "list-2.txt").string()), "");
}
