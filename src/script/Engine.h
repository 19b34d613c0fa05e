// The engine of one game run: its owners wired together, each with its own job and thread rules.
#pragma once

#include <memory>
#include <thread>

#include "audio/AudioState.h"
#include "core/InputState.h"
#include "core/ReadMarks.h"
#include "core/ScriptRuntime.h"
#include "core/Services.h"
#include "core/TextHistory.h"
#include "graphics/Presentation.h"
#include "platform/Platform.h"
#include "screens/BacklogView.h"
#include "screens/SaveLoadScreenState.h"

namespace qv::script {

class Engine {
 public:
  explicit Engine(platform::Platform& platform);
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;
  ~Engine();

  core::Services services;
  core::ScriptRuntime script;
  core::InputState input;
  graphics::Presentation view;
  // Declared after the parts its players' completions reach, so it stops them first.
  audio::AudioState audio;
  screens::SaveLoadScreenState saveLoad;
  // Shared by every slot; read at start-up, written at the interpreter's halts and the close.
  core::ReadMarks readMarks;
  // The lines typed, written by the interpreter (see TextHistory.h), and the backlog showing
  // them, the window thread's.
  core::TextHistory history;
  screens::BacklogView backlog;

  // The shell starts the interpreter thread and joins it at the close.
  std::thread interpreterThread;
  std::unique_ptr<platform::InstanceLock> instanceLock;
};

}  // namespace qv::script
