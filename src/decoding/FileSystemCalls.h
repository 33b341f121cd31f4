#pragma once
// The low-level file calls of the reader and the writer, replaceable by tests
// to simulate failing disks and files that change while they are read.

namespace varnopel {

struct FileSystemCalls {
  int (*open)(const char* path, int flags, unsigned mode);
  long (*write)(int fd, const void* data, unsigned long size);
  int (*close)(int fd);
  int (*rename)(const char* from, const char* to);
  long (*read)(int fd, void* data, unsigned long size);
};
const FileSystemCalls& RealFileSystemCalls();
// The calls in use: the real ones unless a test replaced them.
const FileSystemCalls& CurrentFileSystemCalls();
void SetFileSystemCallsForTesting(const FileSystemCalls* calls);  // null restores the real ones

}  // namespace varnopel
