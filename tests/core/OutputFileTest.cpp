// Output files at the edges of the file system: names as long as a folder
// takes, where the temporary name must still fit.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "decoding/CheckCCode.h"
#include "split/OutputFile.h"

using namespace varnopel;
using varnopel::test::ReadAll;
using varnopel::test::TempDir;

namespace {

std::vector<std::string> created;  // paths the writer created, in order

// Records the files created while it lives.
class Recording {
 public:
  Recording() {
    created.clear();
    calls_.open = [](const char* path, int flags, unsigned mode) {
      if (flags & O_CREAT) created.push_back(path);
      return RealFileSystemCalls().open(path, flags, mode);
    };
    SetFileSystemCallsForTesting(&calls_);
  }
  ~Recording() { SetFileSystemCallsForTesting(nullptr); }

 private:
  FileSystemCalls calls_ = RealFileSystemCalls();
};

// `piece` n times between `before` and `after`.
std::string Repeat(const std::string& piece, size_t n, const std::string& before = "", const std::string& after = "") {
  std::string s = before;
  for (size_t i = 0; i < n; ++i) s += piece;
  s += after;
  return s;
}

}  // namespace

TEST(OutputFile, NamesUpToTheFoldersLimitAreWritten) {
  TempDir dir;
  if (::pathconf(dir.path().c_str(), _PC_NAME_MAX) != 255) GTEST_SKIP() << "the folder's name limit is not 255";
  struct Case {
    const char* label;
    std::string name;
  } cases[] = {
      {"241 bytes, the first the long temporary name did not fit", Repeat("a", 237, "", ".txt")},
      {"255 bytes", Repeat("b", 251, "", ".txt")},
      // 84 Japanese characters: the temporary name's cut falls inside one.
      {"255 bytes of Japanese", Repeat("\xE8\xAA\x9E", 84, "x", ".t")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    ASSERT_LE(c.name.size(), 255u);
    const std::string path = (dir.path() / c.name).string();
    try {
      const Recording recording;
      OutputFile file(path);
      file.write("data\n", 5);
      file.commit();
    } catch (const WriteError& e) {
      ADD_FAILURE() << e.what();
      continue;
    }
    EXPECT_EQ(ReadAll(path), "data\n");
    ASSERT_EQ(created.size(), 1u);
    const std::string temporary = std::filesystem::path(created[0]).filename().string();
    EXPECT_LE(temporary.size(), 255u);
    bool nonAscii = false;
    EXPECT_TRUE(IsValidUtf8(reinterpret_cast<const unsigned char*>(temporary.data()), temporary.size(), nonAscii))
        << "the temporary name was cut inside a character";
    EXPECT_EQ(temporary[0], '.');
    EXPECT_EQ(temporary.substr(1, 8), c.name.substr(0, 8)) << temporary;
    std::filesystem::remove(path);
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path())) << "a temporary file was left";
}

TEST(OutputFile, ANameOverTheLimitIsRefusedBeforeWriting) {
  TempDir dir;
  const long max = ::pathconf(dir.path().c_str(), _PC_NAME_MAX);
  const std::string path = (dir.path() / Repeat("c", static_cast<size_t>(max) + 1)).string();
  try {
    const Recording recording;
    OutputFile file(path);
    ADD_FAILURE() << "a name over the limit was taken";
  } catch (const WriteError& e) {
    EXPECT_EQ(std::string(e.what()), "ファイル \"" + path + "\" を作成できません。File name too long");
  }
  EXPECT_TRUE(created.empty()) << "a temporary file was made for a name that cannot be";
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}
