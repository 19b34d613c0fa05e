// Item-line parsing of the choice commands (see ChoiceItems.h).
#include "script/ChoiceItems.h"

#include <optional>

#include "core/TextRules.h"

namespace qv::script {

namespace {

constexpr size_t kMaxNumberChars = 4;

// Walks the fields of an item line from just after its "(".
class Fields {
 public:
  explicit Fields(std::string_view line) {
    size_t open = line.find('(');
    ok_ = open != std::string_view::npos;
    if (ok_) rest_ = line.substr(open + 1);
  }
  bool ok() const { return ok_; }

  // The text up to `stop`; a missing stop ends the parse unless `orEnd` allows the line's end.
  std::optional<std::string_view> Take(char stop, bool orEnd = false) {
    if (!ok_) return std::nullopt;
    size_t at = rest_.find(stop);
    if (at == std::string_view::npos) {
      if (!orEnd) {
        ok_ = false;
        return std::nullopt;
      }
      at = rest_.size();
    }
    std::string_view field = rest_.substr(0, at);
    rest_ = at < rest_.size() ? rest_.substr(at + 1) : std::string_view{};
    return field;
  }

  bool Number(char stop, int32_t& out, bool orEnd = false) {
    auto field = Take(stop, orEnd);
    if (!field || field->empty() || field->size() > kMaxNumberChars) return ok_ = false;
    out = core::ReadNumber(*field);
    return true;
  }

  bool Label(char stop, core::ChoiceItem& item) {
    auto field = Take(stop);
    if (!field || field->size() > core::ChoiceTable::kMaxLabel) return ok_ = false;
    field->copy(item.label, field->size());
    return true;
  }

 private:
  std::string_view rest_;
  bool ok_ = false;
};

bool ParseRectItem(std::string_view line, ParsedItem& out, bool conditionToLineEnd) {
  out = ParsedItem{};
  Fields fields(line);
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  const bool parsed = fields.Number(',', left) && fields.Number(',', top) &&
                      fields.Number(',', right) && fields.Number(',', bottom) &&
                      fields.Label(',', out.item) &&
                      (conditionToLineEnd ? fields.Number(',', out.condition, true)
                                          : fields.Number(')', out.condition));
  if (!parsed) return false;
  // The table keeps 16-bit coordinates, in the order left, right, top, bottom.
  out.item.left = static_cast<int16_t>(left);
  out.item.right = static_cast<int16_t>(right);
  out.item.top = static_cast<int16_t>(top);
  out.item.bottom = static_cast<int16_t>(bottom);
  out.item.condition = static_cast<uint8_t>(out.condition);
  return true;
}

}  // namespace

bool ParseAreaItem(std::string_view line, ParsedItem& out) {
  if (!ParseRectItem(line, out, false)) return false;
  out.item.condition = 0;  // selarea keeps its condition out of the table
  return true;
}

bool ParseFlagItem(std::string_view line, ParsedItem& out) {
  return ParseRectItem(line, out, true);
}

bool ParseWordItem(std::string_view line, ParsedItem& out) {
  out = ParsedItem{};
  Fields fields(line);
  if (!fields.Label(',', out.item) || !fields.Number(',', out.condition)) return false;
  auto text = fields.Take(')');
  if (!text) return false;
  out.text = std::string(core::CutAtCharBoundary(*text, kMaxChoiceText));
  out.item.condition = static_cast<uint8_t>(out.condition);
  return true;
}

bool ParseFlagPictures(std::string_view line, std::string (&paths)[3]) {
  Fields fields(line);
  auto base = fields.Take(',');
  auto unlocked = fields.Take(',');
  auto hover = fields.Take(')');
  if (!base || !unlocked || !hover) return false;
  paths[0] = std::string(*base);
  paths[1] = std::string(*unlocked);
  paths[2] = std::string(*hover);
  return true;
}

}  // namespace qv::script
