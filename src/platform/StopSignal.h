// The exception that unwinds the interpreter thread once the program has begun to close.
#pragma once

namespace qv::platform {

// Thrown by every wait, halt and synchronous send of an interruptible thread after a stop was
// requested. It is not derived from std::exception so that no ordinary handler swallows it.
struct StopSignal {};

}  // namespace qv::platform
