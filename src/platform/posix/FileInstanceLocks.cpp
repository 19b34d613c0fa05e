// The single-instance guard (see FileInstanceLocks.h).
#include "platform/posix/FileInstanceLocks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace qv::platform::posix {

namespace {

class FileLock final : public InstanceLock {
 public:
  explicit FileLock(int fd) : fd_(fd) {}
  ~FileLock() override {
    if (fd_ >= 0) close(fd_);  // closing drops the lock
  }

 private:
  int fd_;
};

}  // namespace

std::string PrivateLockFolder(const std::string& tmpRoot) {
  const uid_t user = geteuid();
  std::string folder = tmpRoot + "/qvengine-" + std::to_string(user);
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
  // Another user may have made the name first; the sticky /tmp keeps a folder of ours ours.
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0) return {};
  if (!S_ISDIR(info.st_mode) || info.st_uid != user || (info.st_mode & 077) != 0) return {};
  return folder;
}

FileInstanceLocks::FileInstanceLocks(std::string directory) : directory_(std::move(directory)) {
  if (!directory_.empty()) return;
  for (const char* variable : {"QVENGINE_LOCK_DIR", "XDG_RUNTIME_DIR"}) {
    const char* value = std::getenv(variable);
    if (value && *value) {
      directory_ = value;
      return;
    }
  }
  directory_ = PrivateLockFolder("/tmp");
}

std::unique_ptr<InstanceLock> FileInstanceLocks::TryAcquire(std::string_view instanceName) {
  if (directory_.empty()) return std::make_unique<FileLock>(-1);
  // The name is the game's bytes; hex keeps any of them a valid, distinct file name.
  static constexpr char kHex[] = "0123456789abcdef";
  std::string file = directory_ + "/qvengine-";
  for (unsigned char c : instanceName) {
    file.push_back(kHex[c >> 4]);
    file.push_back(kHex[c & 15]);
  }
  file += ".lock";
  int fd = open(file.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
  // A lock that cannot even be created must not keep the player out of the game.
  if (fd < 0) return std::make_unique<FileLock>(-1);
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    int error = errno;
    close(fd);
    if (error == EWOULDBLOCK) return nullptr;
    return std::make_unique<FileLock>(-1);
  }
  return std::make_unique<FileLock>(fd);
}

}  // namespace qv::platform::posix
