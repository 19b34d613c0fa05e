// An Ogg file through the stream player: opened, decoded buffer by buffer as the device finishes
// them, to the end of a play-once stream, then stopped.
#include "FuzzGame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::FuzzGame game;
  auto& player = game.engine.audio.musicPlayer;
  player.filePath = game.engine.services.baseDirectory + "bgm\\m.ogg";
  game.fakes.files.Put(player.filePath, qv::fuzz::Bytes(data, size));
  if (player.Play(game.fakes.window)) game.fakes.audio.FinishAll(player.Device(), 200);
  player.Stop();
  return 0;
}
