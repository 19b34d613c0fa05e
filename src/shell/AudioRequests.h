// The window procedure's handling of the sound requests: the players start and stop here.
#pragma once

#include "platform/Message.h"
#include "script/Engine.h"

namespace qv::shell {

// True for the messages HandleAudioRequest takes.
bool IsAudioRequest(uint32_t id);

// Window thread. Starts or stops a player as `message` asks; returns the procedure's result.
int32_t HandleAudioRequest(script::Engine& engine, const platform::Message& message);

}  // namespace qv::shell
