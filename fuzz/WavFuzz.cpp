// A sound effect: a WAV file read and handed to the device as the engine plays it.
#include "FuzzGame.h"
#include "audio/SoundEffects.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::FuzzGame game;
  const std::string path = game.engine.services.baseDirectory + "se\\a.wav";
  game.fakes.files.Put(path, qv::fuzz::Bytes(data, size));
  qv::audio::PlaySoundEffect(game.engine.services, path);
  return 0;
}
