// Modal user interface: message boxes, the pop-up system menu and the two dialogs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv::platform {

enum class BoxButtons { Ok, OkCancel };
enum class BoxIcon { None, Warning };
enum class BoxAnswer { Ok, Cancel };

struct MenuItem {
  enum class Kind { Command, Submenu, Separator };
  Kind kind = Kind::Command;
  std::string text;  // UTF-8
  uint32_t id = 0;   // command id; 0 for sub-menus and separators
  bool checked = false;
  bool radioCheck = false;  // checked items of a radio group show a bullet instead of a tick
  bool greyed = false;
  std::vector<MenuItem> children;
};

// What the name-entry dialog's OK button leads to; decided by the engine, which knows the limits.
enum class NameVerdict { Accept, RejectAndClear, Reject };

// All calls are made on the window thread and are modal: while one is up, the game's own input is
// held back and requests sent by the interpreter thread are still handled.
class Ui {
 public:
  virtual ~Ui() = default;

  // A message box. `caption` and `text` are UTF-8. Works before the main window exists.
  virtual BoxAnswer MessageBox(const std::string& caption, const std::string& text,
                               BoxButtons buttons, BoxIcon icon) = 0;

  // The pop-up menu `root` (its children are the items) at frame position (x, y). Returns the
  // chosen command id, or 0 when the menu was dismissed.
  virtual uint32_t PopupMenu(const MenuItem& root, int x, int y) = 0;

  // The about box: a caption, the lines of text and the close button's label (all UTF-8).
  virtual void AboutBox(const std::string& caption, const std::vector<std::string>& lines,
                        const std::string& closeLabel) = 0;

  // The name-entry dialog. `initialText` is shown first; every OK is passed to `onOk` with the
  // edit text (UTF-8), which shows its own messages. Returns 1 after Accept, 2 when the dialog
  // was closed by its close box.
  virtual int NameEntry(const std::string& caption, const std::string& prompt,
                        const std::string& initialText,
                        const std::function<NameVerdict(const std::string&)>& onOk) = 0;
};

}  // namespace qv::platform
