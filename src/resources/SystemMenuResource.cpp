// The pop-up system menu as data (see SystemMenuResource.h).
#include "resources/SystemMenuResource.h"

namespace qv::resources {

namespace {

using platform::MenuItem;

MenuItem Command(const char* text, uint32_t id) {
  MenuItem item;
  item.text = text;
  item.id = id;
  return item;
}

MenuItem Separator() {
  MenuItem item;
  item.kind = MenuItem::Kind::Separator;
  return item;
}

MenuItem Submenu(const char* text, std::vector<MenuItem> children) {
  MenuItem item;
  item.kind = MenuItem::Kind::Submenu;
  item.text = text;
  item.children = std::move(children);
  return item;
}

}  // namespace

MenuItem LoadSystemMenu() {
  MenuItem settings = Submenu(
      "設定",
      {Submenu("メッセージ速度",
               {Command("特急", ID_SPEED_FASTEST), Command("快速", ID_SPEED_FAST),
                Command("普通", ID_SPEED_NORMAL), Command("やや遅い", ID_SPEED_SLOW),
                Command("遅い", ID_SPEED_SLOWEST)}),
       Command("フルスクリーン", ID_FULLSCREEN), Command("画面エフェクト", ID_EFFECTS), Separator(),
       Submenu("SE音量",
               {Command("100%", ID_SE_100), Command("75%", ID_SE_75), Command("50%", ID_SE_50),
                Command("25%", ID_SE_25), Command("0%（OFF）", ID_SE_0)}),
       Submenu("BGM音量",
               {Command("100%", ID_BGM_100), Command("75%", ID_BGM_75), Command("50%", ID_BGM_50),
                Command("25%", ID_BGM_25), Command("0%(OFF)", ID_BGM_0)})});
  return Submenu("システム",
                 {Command("シナリオの自動送り", ID_AUTO), std::move(settings), Separator(),
                  Command("タイトル画面へ戻る", ID_TITLE), Command("システム終了", ID_QUIT),
                  Separator(), Command("システム確認", ID_ABOUT)});
}

MenuItem LoadComfortsMenu() {
  return Submenu("拡張",
                 {Command("既読のみスキップ", ID_SKIP_READ_ONLY), Command("バックログ", ID_BACKLOG),
                  Command("ページをコピー", ID_COPY_PAGE)});
}

}  // namespace qv::resources
