// The engine's own files beside the slots, each read from the same bytes: the read marks, the
// settings and a slot's history, which the backlog then draws page by page and hit-tests.
#include "FuzzGame.h"
#include "core/PlayerSettingsFile.h"
#include "core/SettingsFile.h"
#include "screens/BacklogView.h"
#include "script/HistoryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::FuzzGame game("x\r\n", 800, 600);
  auto& engine = game.engine;
  engine.view.messageFont = game.fakes.glyphs.font;
  const std::string folder = qv::core::SaveFolderPath(engine.services);
  game.fakes.files.directories.insert(folder);
  for (const char* name : {"\\readmarks.dat", "\\qvplay.ini", "\\save01.bkl"})
    game.fakes.files.Put(folder + name, qv::fuzz::Bytes(data, size));
  game.Run([&] {
    engine.readMarks.Load(engine.services, *engine.script.Text());
    qv::core::LoadPlayerSettings(engine.services);
    qv::script::ReadHistoryFile(engine, 1);
    qv::screens::BacklogView backlog;
    backlog.pages = engine.history.Pages();
    for (int page = 1; page <= static_cast<int>(backlog.pages.size()); ++page) {
      backlog.page = page;
      qv::screens::DrawBacklogPage(engine.view, backlog);
      for (int y = 430; y < 600; y += 9) qv::screens::BacklogLineAt(backlog, 30, y);
    }
  });
  return 0;
}
