// The window procedure's handling of the sound requests: the players start and stop here.
#pragma once

#include "core/Engine.h"
#include "platform/Message.h"

namespace qv::shell {

// True for the messages HandleAudioRequest takes.
bool IsAudioRequest(uint32_t id);

// Window thread. Starts or stops a player as `message` asks; returns the procedure's result.
int32_t HandleAudioRequest(core::Engine& engine, const platform::Message& message);

}  // namespace qv::shell
