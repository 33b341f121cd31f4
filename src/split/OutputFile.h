#pragma once
// One output file, written under a temporary name in its target folder and
// renamed into place only when complete, so that an existing file is never
// left half-written. The temporary name fits wherever the final name does.
#include <stdexcept>
#include <string>

#include "decoding/FileSystemCalls.h"

namespace varnopel {

// The file could not be created or written; what() is the text for the user.
class WriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Whether an output at this path would replace something: any entry counts,
// a dangling symbolic link too.
bool OutputExists(const std::string& path);

class OutputFile {
 public:
  // Throws WriteError("ファイル "…" を作成できません。…").
  explicit OutputFile(std::string path);
  ~OutputFile();  // an unfinished file is removed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Throws WriteError("ストリームへの書き込みエラー").
  void write(const char* data, size_t size);
  // Closes the file and puts it in place of any entry of the same name; a
  // symbolic link there is replaced, not written through.
  void commit();

 private:
  [[noreturn]] void fail();

  std::string path_;
  std::string temp_;
  int fd_ = -1;
};

}  // namespace varnopel
