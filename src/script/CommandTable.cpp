// The ordered keyword table of the script language.
#include "script/Commands.h"

namespace qv::script {

const std::array<Command, 41>& CommandTable() {
  static const std::array<Command, 41> table{{
      {"name_entry", nullptr},
      {"flagreset", Flagreset},
      {"jmp", Jmp},
      {"returnto", Returnto},
      {"eventflag", Eventflag},
      {"eventjudge", Eventjudge},
      {"pointflag", Pointflag},
      {"pointjudge", Pointjudge},
      {"random", Random},
      {"recflag", Recflag},
      {"brightness", nullptr},
      {"subeffect", nullptr},
      {"effect", nullptr},
      {"maskefct", nullptr},
      {"spralpha", nullptr},
      {"alphadepth", nullptr},
      {"imgblt", nullptr},
      {"blt", nullptr},
      {"exit_game", ExitGame},
      {"syncstart", Syncstart},
      {"syncexit", Syncexit},
      {"synctiming", Synctiming},
      {"BGMWave", nullptr},
      {"cdda", nullptr},
      {"wave", nullptr},
      {"talk", nullptr},
      {"OGGPlay", nullptr},
      {"selarea", nullptr},
      {"selword", nullptr},
      {"flagselect", nullptr},
      {"wait", Wait},
      {"fill", nullptr},
      {"sprite", nullptr},
      {"windowopen", nullptr},
      {"windowclose", nullptr},
      {"statuswindow", Statuswindow},
      {"commandopen", Nothing},
      {"statusctrl", Statusctrl},
      {"stuffroll", Nothing},
      {"RecNameLoad", nullptr},
      {"statetitle", Statetitle},
  }};
  return table;
}

const Command* FindCommand(std::string_view line) {
  for (const Command& command : CommandTable()) {
    if (line.find(command.keyword) != std::string_view::npos) return &command;
  }
  return nullptr;
}

}  // namespace qv::script
