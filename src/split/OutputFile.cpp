#include "split/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <random>

#include "split/SystemErrorText.h"

namespace varnopel {

namespace {

const FileSystemCalls& Calls() { return CurrentFileSystemCalls(); }

std::string CreateErrorText(const std::string& path, int error) {
  return "ファイル \"" + path + "\" を作成できません。" + SystemErrorText(error);
}

// Mode of the file being replaced, or what a newly created file would get.
// A symbolic link is replaced, not followed: its target's mode stays out.
mode_t TargetMode(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// The longest file name the folder takes.
size_t NameMax(const std::string& folder) {
  const long max = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return max > 0 ? static_cast<size_t>(max) : NAME_MAX;
}

// What of `name` goes into the temporary name so that the whole of it takes
// no more than `room` bytes; cut before a UTF-8 character, never inside one.
std::string TemporaryStem(const std::string& name, size_t room) {
  if (name.size() <= room) return name;
  size_t cut = room;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return name.substr(0, cut);
}

}  // namespace

bool OutputExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
  const size_t slash = path_.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path_.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  // Said now rather than after the whole file has been written.
  const size_t nameMax = NameMax(folder);
  if (name.size() > nameMax) throw WriteError(CreateErrorText(path_, ENAMETOOLONG));
  // "." + stem + ".XXXXXXXX.part" must fit wherever the final name fits.
  constexpr size_t kAdded = 15;
  const std::string stem = TemporaryStem(name, nameMax > kAdded ? nameMax - kAdded : 0);
  const mode_t mode = TargetMode(path_);
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
    temp_ = folder + "." + stem + "." + suffix + ".part";
    fd_ = Calls().open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd_ >= 0 || errno != EEXIST) break;
  }
  if (fd_ < 0) {
    const int error = errno;
    temp_.clear();
    throw WriteError(CreateErrorText(path_, error));
  }
  ::fchmod(fd_, mode);  // the umask may have taken bits that the replaced file had
}

OutputFile::~OutputFile() {
  if (fd_ >= 0) Calls().close(fd_);
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

void OutputFile::fail() { throw WriteError("ストリームへの書き込みエラー"); }

void OutputFile::write(const char* data, size_t size) {
  while (size > 0) {
    const long done = Calls().write(fd_, data, size);
    if (done < 0 && errno == EINTR) continue;
    if (done <= 0) fail();
    data += done;
    size -= static_cast<size_t>(done);
  }
}

void OutputFile::commit() {
  const int fd = fd_;
  fd_ = -1;
  if (Calls().close(fd) != 0) fail();
  if (Calls().rename(temp_.c_str(), path_.c_str()) != 0) {
    const int error = errno;
    throw WriteError(CreateErrorText(path_, error));
  }
  temp_.clear();
}

}  // namespace varnopel
