// Golden replays: each folder under tests/golden is a game, the events played on it and the log
// it must give. QV_GOLDEN_UPDATE=1 writes the logs the engine gives now (read the diff!).
//
//   script.txt    the script, UTF-8 (written in CP932 as game.qv beside game.ist)
//   instance.txt  the instance file (default: InstanceName="test" WindowName="テスト")
//   files.txt     further files, made by the generators below, one a line; after a line "---"
//                 those made before the next run (as a player's files change between runs)
//   options.txt   qvplay's options for every run (default: --original, the original's engine;
//                 an empty file plays with this engine's additions)
//   events.txt    the events; a line "---" plays the same folder again in a new run
//   expected.log  each run's events as GameRun::Events() gives them, runs parted by "---", the
//                 game folder's path written as {game}
//   checks.txt    what the log does not show: states, times, pixels, files (see Check)
#include <gtest/gtest.h>
#include <utime.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "core/Surface.h"
#include "graphics/PictureFile.h"
#include "platform/common/TableCp932.h"
#include "qvtool/SampleGame.h"
#include "qvtool/ScriptCodec.h"
#include "support/HeadlessGame.h"
#include "support/OggCodec.h"
#include "support/PngReader.h"
#include "support/ScopedEnv.h"
#include "support/TextCases.h"
#include "support/WavReader.h"

namespace qv::test {
namespace {

namespace fs = std::filesystem;

const fs::path kCases = fs::path(QV_SOURCE_DIR) / "tests" / "golden";

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Everything after the first `count` words of `line`.
std::string Rest(const std::string& line, size_t count) {
  size_t at = 0;
  for (size_t i = 0; i < count; ++i) {
    at = line.find_first_not_of(' ', at);
    at = line.find(' ', at);
    if (at == std::string::npos) return "";
  }
  return line.substr(at + 1);
}

// `bytes` with the bytes named by the words "OFFSET=HH" from `first` on set.
std::string SetBytes(std::string bytes, const std::vector<std::string>& words, size_t first) {
  for (size_t i = first; i < words.size(); ++i) {
    const size_t eq = words[i].find('=');
    bytes.at(std::stoul(words[i].substr(0, eq))) =
        static_cast<char>(std::stoi(words[i].substr(eq + 1), nullptr, 16));
  }
  return bytes;
}

// "SIZE OFFSET=HH ...": SIZE zero bytes with the bytes named.
std::string Bytes(const std::vector<std::string>& words, size_t first) {
  return SetBytes(std::string(std::stoul(words[first]), '\0'), words, first + 1);
}

// picture PATH W H gradient|solid V|masked V|sprite B G R [scrambled]
// gradient: red = x / 3, green = y / 2, blue 40. masked: the colour half, then a black mask.
// sprite: W x H of colour beside its mask, black in a centred square standing on the bottom row.
std::string Picture(const std::vector<std::string>& w) {
  const int width = std::stoi(w[2]), height = std::stoi(w[3]);
  const std::string& kind = w[4];
  auto arg = [&](size_t i) { return static_cast<uint8_t>(std::stoi(w.at(5 + i))); };
  const bool twice = kind == "masked" || kind == "sprite";
  core::Surface s(twice ? 2 * width : width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < s.Width(); ++x) {
      uint8_t* p = s.Row(y) + 3 * x;
      const bool mask = x >= width;
      const int mx = x - width;
      if (kind == "gradient") {
        p[0] = 40, p[1] = static_cast<uint8_t>(y / 2), p[2] = static_cast<uint8_t>(x / 3);
      } else if (kind == "solid" || (kind == "masked" && !mask)) {
        p[0] = p[1] = p[2] = arg(0);
      } else if (kind == "sprite" && !mask) {
        p[0] = arg(0), p[1] = arg(1), p[2] = arg(2);
      } else if (kind == "sprite") {
        const bool inside = mx >= width / 4 && mx < 3 * width / 4 && y >= height / 4;
        p[0] = p[1] = p[2] = inside ? 0 : 255;
      } else if (kind != "masked") {
        ADD_FAILURE() << "no picture kind " << kind;
      }
    }
  }
  std::vector<uint8_t> file = graphics::EncodeBitmap(s);
  if (w.back() == "scrambled") graphics::ScrambleBackground(file);
  return {file.begin(), file.end()};
}

void MakeFiles(const std::string& game, const std::string& listing) {
  for (const std::string& line : Lines(listing)) {
    const std::vector<std::string> w = Words(line);
    if (w.empty() || w[0].starts_with("#")) continue;
    const std::string path = game + "/" + (w.size() > 1 ? w[1] : "");
    if (w[0] == "sample") {
      platform::TableCp932 cp932;
      ASSERT_TRUE(tool::MakeSample(game, cp932).succeeded);
    } else if (w[0] == "remove") {
      fs::remove(path);
    } else if (w[0] == "picture") {
      WriteFile(path, Picture(w));
    } else if (w[0] == "tone") {  // tone PATH FRAMES RATE CHANNELS HZ: an Ogg sine
      const int rate = std::stoi(w[3]), channels = std::stoi(w[4]);
      WriteFile(path,
                EncodeOgg(Tone(std::stoi(w[2]), rate, channels, std::stod(w[5])), rate, channels));
    } else if (w[0] == "wav") {  // wav PATH RATE CHANNELS BITS SIZE VALUE
      WriteFile(path, MakeWav(std::stoi(w[2]), std::stoi(w[3]), std::stoi(w[4]),
                              std::vector<uint8_t>(std::stoul(w[5]),
                                                   static_cast<uint8_t>(std::stoi(w[6])))));
    } else if (w[0] == "text") {  // text PATH BYTES (escaped)
      WriteFile(path, Unescape(Rest(line, 2)));
    } else if (w[0] == "scrambled") {  // scrambled PATH KEY BYTES: a script file's bytes
      std::string bytes = Unescape(Rest(line, 3));
      for (char& c : bytes) c = static_cast<char>(c ^ std::stoi(w[2], nullptr, 16));
      WriteFile(path, bytes);
    } else if (w[0] == "bytes") {
      WriteFile(path, Bytes(w, 2));
    } else if (w[0] == "patch") {  // patch PATH OFFSET=HH...: bytes of a file changed
      WriteFile(path, SetBytes(ReadFile(path), w, 2));
    } else if (w[0] == "copy") {  // copy PATH TO [SIZE]: the file, or its first SIZE bytes
      WriteFile(game + "/" + w[2],
                ReadFile(path).substr(0, w.size() > 3 ? std::stoul(w[3]) : std::string::npos));
    } else if (w[0] == "mtime") {  // mtime PATH SECONDS: its last write, in seconds since 1970
      struct utimbuf times {};
      times.actime = times.modtime = std::stol(w[2]);
      utime(path.c_str(), &times);
    } else if (w[0] == "script") {  // script PATH TEXT (escaped): a script as qvtool writes it
      platform::TableCp932 cp932;
      const tool::TextConversion script = tool::EncodeScript(Unescape(Rest(line, 2)), cp932);
      ASSERT_TRUE(script.Succeeded());
      WriteFile(path, script.bytes);
    } else {
      ADD_FAILURE() << "no generator " << w[0];
    }
  }
}

// `text` with the game folder's path written as {game}, the same in every temporary folder.
std::string Portable(std::string text, const std::string& game) {
  for (size_t at; (at = text.find(game)) != std::string::npos;)
    text.replace(at, game.size(), "{game}");
  return text;
}

struct Runs {
  std::string game;
  std::vector<GameRun> runs;
  // A state or shot file, from whichever run wrote it.
  std::string Out(const std::string& name) const {
    for (const GameRun& run : runs) {
      if (fs::exists(run.outDir + "/" + name)) return run.outDir + "/" + name;
    }
    ADD_FAILURE() << "no run wrote " << name;
    return "";
  }
  std::string Value(const std::string& state, std::string key) const {
    const std::string json = Portable(ReadFile(Out(state + ".json")), game);
    const size_t bracket = key.find('[');
    const std::string name = key.substr(0, bracket);
    const size_t at = json.find("\"" + name + "\": ");
    if (at == std::string::npos) return "(no " + name + ")";
    std::string value =
        json.substr(at + name.size() + 4, json.find('\n', at) - at - name.size() - 4);
    if (value.ends_with(",")) value.pop_back();
    if (bracket == std::string::npos) return value;
    std::istringstream items(value.substr(1));  // "[1, 0, ...]"
    std::string item = "(out of range)";
    for (size_t i = 0; i <= std::stoul(key.substr(bracket + 1)); ++i) {
      if (!std::getline(items, item, ',')) return "(out of range)";
    }
    return std::to_string(std::stol(item));
  }
};

bool InRange(long value, const std::string& range) {
  const size_t dots = range.find("..");
  if (dots == std::string::npos) return value == std::stol(range);
  return value >= std::stol(range) && value <= std::stol(range.substr(dots + 2));
}

// exit N | state NAME KEY[I] JSON | time MS EVENT | gap MS[..MS] EVENT >> EVENT |
// pixel SHOT X Y R G B | width SHOT W | same SHOT SHOT | file PATH SIZE OFFSET=HH... |
// byte PATH OFFSET HH | size PATH N | absent PATH | samefile PATH PATH | repeat (the runs again
// give the same logs, states and shots) | wav OUT FRAMES[..FRAMES] [OGG VOLUME] (a recording's
// length, and that it holds the game's OGG, looped, at VOLUME %) | screenshot (see below).
// The events of `time` and `gap` are matched in the whole log, the message boxes included.
void Check(const Runs& r, const std::string& line, const std::function<Runs()>& again) {
  SCOPED_TRACE(line);
  const std::vector<std::string> w = Words(line);
  if (w.empty() || w[0].starts_with("#")) return;
  const GameRun& last = r.runs.back();
  if (w[0] == "exit") {
    EXPECT_EQ(last.exitCode, std::stoi(w[1]));
  } else if (w[0] == "state") {
    EXPECT_EQ(r.Value(w[1], w[2]), Rest(line, 3));
  } else if (w[0] == "time" || w[0] == "gap") {
    std::map<std::string, long> times;
    for (const GameRun& run : r.runs) {
      for (const auto& [event, ms] : run.Times()) times.emplace(Portable(event, r.game), ms);
    }
    const std::string rest = Rest(line, 2);
    const size_t split = rest.find(" >> ");
    const std::string to = split == std::string::npos ? rest : rest.substr(split + 4);
    const std::string from = split == std::string::npos ? "" : rest.substr(0, split);
    ASSERT_TRUE(times.contains(to)) << to;
    ASSERT_TRUE(from.empty() || times.contains(from)) << from;
    const long span = times[to] - (from.empty() ? 0 : times[from]);
    EXPECT_TRUE(InRange(span, w[1])) << span;
  } else if (w[0] == "pixel") {
    const Rgb at = ReadCapture(r.Out(w[1] + ".png")).At(std::stoi(w[2]), std::stoi(w[3]));
    EXPECT_EQ(std::to_string(at.r) + " " + std::to_string(at.g) + " " + std::to_string(at.b),
              Rest(line, 4));
  } else if (w[0] == "width") {
    EXPECT_EQ(ReadCapture(r.Out(w[1] + ".png")).width, std::stoi(w[2]));
  } else if (w[0] == "same") {
    EXPECT_TRUE(ReadFile(r.Out(w[1] + ".png")) == ReadFile(r.Out(w[2] + ".png")));
  } else if (w[0] == "file") {
    EXPECT_EQ(ReadFile(r.game + "/" + w[1]), Bytes(w, 2));
  } else if (w[0] == "byte") {
    const std::string bytes = ReadFile(r.game + "/" + w[1]);
    ASSERT_LT(std::stoul(w[2]), bytes.size());
    EXPECT_EQ(static_cast<uint8_t>(bytes[std::stoul(w[2])]), std::stoi(w[3], nullptr, 16));
  } else if (w[0] == "size") {
    EXPECT_EQ(ReadFile(r.game + "/" + w[1]).size(), std::stoul(w[2]));
  } else if (w[0] == "screenshot") {  // screenshot WIDTH X Y R G B: Print Screen's one file
    std::vector<fs::path> shots;
    for (const auto& entry : fs::directory_iterator(r.game + "/save")) {
      const std::string name = entry.path().filename().string();  // shot-YYYYMMDD-HHMMSS.png
      if (name.starts_with("shot-") && name.ends_with(".png") && name.find('-', 5) == 13 &&
          name.size() == 24)
        shots.push_back(entry);
    }
    ASSERT_EQ(shots.size(), 1u);
    const Capture shot = ReadCapture(shots[0]);
    const Rgb at = shot.At(std::stoi(w[2]), std::stoi(w[3]));
    EXPECT_EQ(std::to_string(shot.width) + " " + std::to_string(at.r) + " " + std::to_string(at.g) +
                  " " + std::to_string(at.b),
              w[1] + " " + Rest(line, 4));
  } else if (w[0] == "samefile") {
    EXPECT_TRUE(ReadFile(r.game + "/" + w[1]) == ReadFile(r.game + "/" + w[2]));
  } else if (w[0] == "absent") {
    EXPECT_FALSE(fs::exists(r.game + "/" + w[1]));
  } else if (w[0] == "wav") {
    const platform::PcmClip wav = ReadRecording(r.Out(w[1]));
    ASSERT_GT(wav.format.channels, 0);
    EXPECT_TRUE(InRange(static_cast<long>(wav.samples.size()) / wav.format.channels, w[2]));
    if (w.size() < 5) return;
    const DecodedOgg ogg = DecodeOgg(ReadFile(r.game + "/" + w[3]));
    ASSERT_FALSE(ogg.samples.empty());
    EXPECT_EQ(wav.format.rate, static_cast<uint32_t>(ogg.rate));
    EXPECT_EQ(wav.format.channels, ogg.channels);
    const std::vector<int16_t> scaled = AtVolume(ogg.samples, std::stoi(w[4]));
    for (size_t i = 0; i < wav.samples.size(); ++i) {
      ASSERT_EQ(wav.samples[i], scaled[i % scaled.size()]) << "sample " << i;
    }
  } else if (w[0] == "repeat") {
    const Runs second = again();
    ASSERT_EQ(second.runs.size(), r.runs.size());
    for (size_t i = 0; i < r.runs.size(); ++i) {
      for (const auto& entry : fs::directory_iterator(r.runs[i].outDir)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(Portable(ReadFile(entry.path()), r.game) ==
                    Portable(ReadFile(second.runs[i].outDir + "/" + name), second.game))
            << name;
      }
    }
  } else {
    ADD_FAILURE() << "no check " << w[0];
  }
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts(1);
  for (const std::string& line : Lines(text)) {
    if (line == "---") {
      parts.emplace_back();
    } else {
      parts.back() += line + "\n";
    }
  }
  return parts;
}

Runs PlayCase(const TempDir& dir, const fs::path& folder) {
  Runs r{dir.Path() + "/game", {}};
  fs::create_directories(r.game);
  const std::vector<std::string> files = Split(ReadFile(folder / "files.txt"));
  MakeFiles(r.game, files[0]);
  if (fs::exists(folder / "script.txt")) {
    TestGame game{ReadFile(folder / "script.txt")};
    if (fs::exists(folder / "instance.txt")) game.instance = ReadFile(folder / "instance.txt");
    WriteGame(dir, game);
  }
  const std::vector<std::string> options = fs::exists(folder / "options.txt")
                                               ? Words(ReadFile(folder / "options.txt"))
                                               : std::vector<std::string>{"--original"};
  for (const std::string& events : Split(ReadFile(folder / "events.txt"))) {
    if (!r.runs.empty() && r.runs.size() < files.size()) MakeFiles(r.game, files[r.runs.size()]);
    r.runs.push_back(Play(dir, events, options));
  }
  return r;
}

std::string Logged(const Runs& r) {
  std::string text;
  for (const GameRun& run : r.runs) {
    if (!text.empty()) text += "---\n";
    // A slot's date is its file's, written moments ago: only its form is the engine's. Dates
    // a generator set lie before 2020 and stay.
    for (std::string e : run.Events()) {
      const size_t date = e.find(' ', 5) + 1;
      if (e.starts_with("slot ") && date > 0 && e.size() > date + 16 && e[date + 4] == '/' &&
          e.substr(date, 4) >= "2020") {
        e.replace(date, 16, "YYYY/MM/DD hh:mm");
      }
      text += Portable(e, r.game) + "\n";
    }
  }
  return text;
}

class GoldenReplay : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenReplay, GivesItsLog) {
  const fs::path folder = kCases / GetParam();
  TempDir dir;
  // Local time nine hours from the files' times, so that a date shown in universal time shows.
  struct ZoneRead {
    ~ZoneRead() { tzset(); }  // destroyed after `zone`: the zone put back is read again
  } const zoneRead;
  const ScopedEnv zone("TZ", "JST-9");
  tzset();
  const Runs runs = PlayCase(dir, folder);
  const std::string logged = Logged(runs);
  if (std::getenv("QV_GOLDEN_UPDATE")) std::ofstream(folder / "expected.log") << logged;
  EXPECT_EQ(logged, ReadFile(folder / "expected.log"));
  for (const std::string& line : Lines(ReadFile(folder / "checks.txt"))) {
    Check(runs, line, [&] {
      TempDir fresh;
      Runs second = PlayCase(fresh, folder);
      // The files stay with the first run's folder: compare before `fresh` goes.
      for (size_t i = 0; i < second.runs.size(); ++i) {
        const fs::path kept = dir.Path() + "/again" + std::to_string(i);
        fs::copy(second.runs[i].outDir, kept);
        second.runs[i].outDir = kept.string();
      }
      return second;
    });
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenReplay, ::testing::ValuesIn(CaseNames(kCases)),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace qv::test
