// The single-instance guard as a file lock the system drops when the process dies.
#pragma once

#include <string>

#include "platform/InstanceLock.h"

namespace qv::platform::posix {

// The lock folder of this user under `tmpRoot`, for sessions without a runtime folder:
// tmpRoot/qvengine-UID, made 0700. Empty when it cannot be made, or what is there is a symlink,
// no directory, another user's or open to others: a lock in such a place could be held by
// another local user.
std::string PrivateLockFolder(const std::string& tmpRoot);

class FileInstanceLocks final : public InstanceLocks {
 public:
  // Locks live in `directory`; empty means $QVENGINE_LOCK_DIR, else $XDG_RUNTIME_DIR, else
  // PrivateLockFolder("/tmp"). Without a sound folder every game starts unguarded.
  explicit FileInstanceLocks(std::string directory = {});
  std::unique_ptr<InstanceLock> TryAcquire(std::string_view instanceName) override;

 private:
  std::string directory_;
};

}  // namespace qv::platform::posix
