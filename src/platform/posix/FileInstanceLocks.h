// The single-instance guard as a file lock the system drops when the process dies.
#pragma once

#include <string>

#include "platform/InstanceLock.h"

namespace qv::platform::posix {

class FileInstanceLocks final : public InstanceLocks {
 public:
  // Locks live in `directory`; empty means $QVENGINE_LOCK_DIR, else $XDG_RUNTIME_DIR, else /tmp.
  explicit FileInstanceLocks(std::string directory = {});
  std::unique_ptr<InstanceLock> TryAcquire(std::string_view instanceName) override;

 private:
  std::string directory_;
};

}  // namespace qv::platform::posix
