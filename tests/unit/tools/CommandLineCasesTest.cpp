// qvtool and qvplay as a shell sees them. Each file in tests/cli is one folder's story, a line a
// step: files made, the programs run in the folder (no display), what they printed and left
// behind checked.
//
//   sample DIR | mkdir DIR | copy FROM TO (files or folders) | remove PATH | text PATH BYTES
//   append PATH BYTES | edit PATH FROM => TO (the first FROM) | bitmap PATH W H [topdown] (black)
//   qvtool STATUS ARGS | qvplay STATUS ARGS
//   out TEXT | err TEXT    the last run printed TEXT there; without either, nothing there
//   out1 TEXT | err1 TEXT  the same, one line only, starting with TEXT
//   file PATH BYTES | same PATH PATH | has PATH TEXT | none TEXT (no name in the folder holds
//   TEXT) | empty DIR
//
// '@' stands for the folder and a '/'; BYTES and TEXT take \r, \n, \\ and \xHH.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "graphics/PictureFile.h"
#include "platform/common/TableCp932.h"
#include "qvtool/SampleGame.h"
#include "support/HeadlessGame.h"
#include "support/TextCases.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

const fs::path kCases = fs::path(QV_SOURCE_DIR) / "tests" / "cli";

struct Stream {
  std::string text;
  bool expected = false;  // a line named what it must hold
  void Expect(const std::string& part, bool oneLine) {
    expected = true;
    EXPECT_NE(text.find(part), std::string::npos) << part;
    EXPECT_TRUE(!oneLine || (text.starts_with(part) && text.find('\n') + 1 == text.size()));
  }
  void End() { EXPECT_TRUE(expected || text.empty()) << text; }
};

class CommandLineCases : public ::testing::TestWithParam<std::string> {
 protected:
  std::string At(std::string text) {
    for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1))
      text.replace(at, 1, dir.Path() + "/");
    if (const size_t at = text.find("{version}"); at != std::string::npos)
      text.replace(at, 9, QV_VERSION);
    return Unescape(text);
  }
  // `args` is `path` and `rest`, parted by a space.
  void Step(const std::string& verb, const std::string& args, const std::string& path,
            const std::string& rest) {
    const std::string file = At("@" + path), text = At(rest);
    if (verb == "qvtool" || verb == "qvplay") {
      out.End(), err.End();
      const std::string command = "cd " + dir.Path() +
                                  " && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "
                                  "QVENGINE_LOCK_DIR=" +
                                  dir.Path() + " " +
                                  (verb == "qvtool" ? QV_QVTOOL_PATH : QV_QVPLAY_PATH) + " " +
                                  text + " >" + runs.Path() + "/out 2>" + runs.Path() + "/err";
      const int raw = std::system(command.c_str());
      out = {ReadFile(runs.Path() + "/out")}, err = {ReadFile(runs.Path() + "/err")};
      EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, std::stoi(path)) << out.text << err.text;
    } else if (verb == "out" || verb == "out1" || verb == "err" || verb == "err1") {
      (verb[0] == 'o' ? out : err).Expect(At(args), verb.size() == 4);
    } else if (verb == "sample") {
      platform::TableCp932 cp932;
      ASSERT_TRUE(tool::MakeSample(file, cp932).succeeded);
    } else if (verb == "mkdir") {
      fs::create_directories(file);
    } else if (verb == "remove") {
      fs::remove(file);
    } else if (verb == "copy") {
      fs::copy(file, At("@" + rest),
               fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    } else if (verb == "text" || verb == "append") {
      WriteFile(file, (verb == "append" ? ReadFile(file) : "") + text);
    } else if (verb == "edit") {
      std::string bytes = ReadFile(file);
      const size_t arrow = rest.find(" => "), at = bytes.find(At(rest.substr(0, arrow)));
      ASSERT_NE(at, std::string::npos);
      WriteFile(file,
                bytes.replace(at, At(rest.substr(0, arrow)).size(), At(rest.substr(arrow + 4))));
    } else if (verb == "bitmap") {
      std::istringstream size(rest);
      int width = 0, height = 0;
      size >> width >> height;
      std::vector<uint8_t> bytes = graphics::EncodeBitmap(core::Surface(width, height));
      if (rest.ends_with("topdown")) bytes[25] = 0xFF;  // the height's top byte: negative
      WriteFile(file, std::string(bytes.begin(), bytes.end()));
    } else if (verb == "file" || verb == "same" || verb == "has") {
      const std::string want = verb == "same" ? ReadFile(At("@" + rest)) : text;
      EXPECT_TRUE(verb == "has" ? ReadFile(file).find(want) != std::string::npos
                                : ReadFile(file) == want);
    } else if (verb == "none") {
      for (const auto& entry : fs::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().find(path), std::string::npos);
    } else if (verb == "empty") {
      EXPECT_TRUE(fs::is_empty(file));
    } else {
      ADD_FAILURE() << "no step " << verb;
    }
  }

  TempDir dir, runs;
  Stream out, err;
};

TEST_P(CommandLineCases, Run) {
  std::istringstream lines(ReadFile(kCases / (GetParam() + ".txt")));
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    if (line.empty() || line[0] == '#') continue;
    SCOPED_TRACE(GetParam() + ".txt:" + std::to_string(number) + ": " + line);
    const size_t space = line.find(' ');
    const std::string args = space == std::string::npos ? "" : line.substr(space + 1);
    const size_t split = std::min(args.find(' '), args.size());
    Step(line.substr(0, space), args, args.substr(0, split),
         args.substr(std::min(split + 1, args.size())));
  }
  out.End(), err.End();
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLineCases, ::testing::ValuesIn(CaseNames(kCases)),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace qv::test
