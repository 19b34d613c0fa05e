// Choice item lines: each line through the three item readers and the gallery's picture list,
// then the whole input as the items of each list command.
#include <string>

#include "FuzzGame.h"
#include "script/ChoiceItems.h"
#include "script/Commands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input = qv::fuzz::Bytes(data, size);
  for (size_t start = 0; start <= input.size();) {
    size_t end = input.find('\n', start);
    if (end == std::string_view::npos) end = input.size();
    const std::string_view line = input.substr(start, end - start);
    qv::script::ParsedItem item;
    qv::script::ParseAreaItem(line, item);
    qv::script::ParseWordItem(line, item);
    qv::script::ParseFlagItem(line, item);
    std::string paths[3];
    qv::script::ParseFlagPictures(line, paths);
    start = end + 1;
  }
  struct List {
    const char* command;
    const char* end;
    void (*run)(qv::script::Engine&, std::string_view);
  };
  static constexpr List kLists[] = {
      {"$selarea cg\\sel.bmp", "selend", qv::script::Selarea},
      {"$selword", "selend", qv::script::Selword},
      {"$flagselect (a.bmp,b.bmp,c.bmp)", "$flagselend", qv::script::Flagselect}};
  for (const List& list : kLists) {
    const std::string script =
        std::string(list.command) + "\r\n" + std::string(input) + "\r\n" + list.end + "\r\n";
    qv::fuzz::FuzzGame game(script, 160, 128);
    game.Run([&] { list.run(game.engine, list.command); });
  }
  return 0;
}
