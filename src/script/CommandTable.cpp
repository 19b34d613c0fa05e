// The ordered keyword table of the script language.
#include "script/Commands.h"

namespace qv::script {

const std::array<Command, 41>& CommandTable() {
  static const std::array<Command, 41> table{{
      {"name_entry", NameEntry},
      {"flagreset", Flagreset},
      {"jmp", Jmp},
      {"returnto", Returnto},
      {"eventflag", Eventflag},
      {"eventjudge", Eventjudge},
      {"pointflag", Pointflag},
      {"pointjudge", Pointjudge},
      {"random", Random},
      {"recflag", Recflag},
      {"brightness", Brightness},
      {"subeffect", Subeffect},
      {"effect", Effect},
      {"maskefct", Maskefct},
      {"spralpha", Spralpha},
      {"alphadepth", Alphadepth},
      {"imgblt", Imgblt},
      {"blt", Blt},
      {"exit_game", ExitGame},
      {"syncstart", Syncstart},
      {"syncexit", Syncexit},
      {"synctiming", Synctiming},
      {"BGMWave", BgmWave},
      {"cdda", Cdda},
      {"wave", Wave},
      {"talk", Talk},
      {"OGGPlay", OggPlay},
      {"selarea", Selarea},
      {"selword", Selword},
      {"flagselect", Flagselect},
      {"wait", Wait},
      {"fill", Fill},
      {"sprite", Sprite},
      {"windowopen", Windowopen},
      {"windowclose", Windowclose},
      {"statuswindow", Statuswindow},
      {"commandopen", Nothing},
      {"statusctrl", Statusctrl},
      {"stuffroll", Nothing},
      {"RecNameLoad", RecNameLoad},
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
