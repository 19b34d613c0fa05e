// The single-instance guard: one running copy per instance name.
#pragma once

#include <memory>
#include <string_view>

namespace qv::platform {

class InstanceLock {
 public:
  virtual ~InstanceLock() = default;  // releases the lock
};

class InstanceLocks {
 public:
  virtual ~InstanceLocks() = default;
  // The lock for `instanceName` (the instance file's bytes), or null when another running process
  // holds it. The system drops the lock when its process dies, however it dies.
  virtual std::unique_ptr<InstanceLock> TryAcquire(std::string_view instanceName) = 0;
};

}  // namespace qv::platform
