#include "decoding/FileSystemCalls.h"

#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace varnopel {

namespace {

const FileSystemCalls kReal = {
    [](const char* path, int flags, unsigned mode) { return ::open(path, flags, static_cast<mode_t>(mode)); },
    [](int fd, const void* data, unsigned long size) { return static_cast<long>(::write(fd, data, size)); },
    [](int fd) { return ::close(fd); },
    [](const char* from, const char* to) { return ::rename(from, to); },
    [](int fd, void* data, unsigned long size) { return static_cast<long>(::read(fd, data, size)); },
};
std::atomic<const FileSystemCalls*> current{&kReal};

}  // namespace

const FileSystemCalls& RealFileSystemCalls() { return kReal; }
const FileSystemCalls& CurrentFileSystemCalls() { return *current.load(); }
void SetFileSystemCallsForTesting(const FileSystemCalls* calls) { current.store(calls ? calls : &kReal); }

}  // namespace varnopel
