// The single-instance guard (see FileInstanceLocks.h).
#include "platform/posix/FileInstanceLocks.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

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

FileInstanceLocks::FileInstanceLocks(std::string directory) : directory_(std::move(directory)) {
  if (directory_.empty()) {
    for (const char* variable : {"QVENGINE_LOCK_DIR", "XDG_RUNTIME_DIR"}) {
      const char* value = std::getenv(variable);
      if (value && *value) {
        directory_ = value;
        break;
      }
    }
  }
  if (directory_.empty()) directory_ = "/tmp";
}

std::unique_ptr<InstanceLock> FileInstanceLocks::TryAcquire(std::string_view instanceName) {
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
