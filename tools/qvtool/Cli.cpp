// The qvtool command line: reads the arguments, runs one command, reports as a shell tool should.
#include "qvtool/Cli.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/ScriptScramble.h"
#include "platform/common/TableCp932.h"
#include "qvtool/BackgroundScramble.h"
#include "qvtool/FileIo.h"
#include "qvtool/GameLint.h"
#include "qvtool/SampleGame.h"
#include "qvtool/ScriptCodec.h"

namespace qv::tool {

namespace {

constexpr std::string_view kUsage =
    "usage: qvtool COMMAND ARGUMENTS\n"
    "\n"
    "  encode SRC OUT.qv [--sjis]  turn a script source into a scenario file: Shift-JIS, CR LF\n"
    "                              line ends, scrambled. SRC is UTF-8 (a byte-order mark is\n"
    "                              allowed) or, when it is not UTF-8, Shift-JIS already;\n"
    "                              --sjis reads it as Shift-JIS whatever it looks like.\n"
    "  decode IN.qv OUT [--sjis]   turn a scenario file back into UTF-8 with LF line ends, or\n"
    "                              with --sjis into the unscrambled bytes exactly as stored.\n"
    "  scramble IN.bmp OUT.bmp     scramble a background picture (a 24-bit uncompressed\n"
    "                              bottom-up bitmap of the game's window size) for the engine.\n"
    "  unscramble IN.bmp OUT.bmp   turn a scrambled background back into a plain bitmap.\n"
    "  make-sample DIR             write the playable sample game (sample.ist, sample.qv, its\n"
    "                              pictures under cg/ and its sounds under sound/, bgm/ and\n"
    "                              voice/) into DIR, creating it when missing.\n"
    "  lint DIR [--source SRC] [--quiet | --json]\n"
    "                              check the game in DIR as the engine would read it: the\n"
    "                              instance file, the script (or SRC, a script source, in its\n"
    "                              place), the files it names and the save slots. Prints one\n"
    "                              line per problem, FILE:LINE: what is wrong; --quiet prints\n"
    "                              nothing, --json a JSON array of {file, line, message}.\n"
    "  --help                      show this text.\n"
    "  --version                   show the version.\n"
    "\n"
    "Exit status: 0 done, 1 a file could not be read, written or converted (lint: a problem was\n"
    "found), 2 bad command line.\n";

std::string HexByte(uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", value);
  return text;
}

struct Invocation {
  std::string_view command;
  std::vector<std::string_view> operands;
  bool shiftJis = false;
  bool quiet = false;
  bool json = false;
  std::optional<std::string_view> source;
};

class Runner {
 public:
  Runner(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

  int Run(std::span<const std::string_view> arguments) {
    Invocation invocation;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
      const std::string_view argument = arguments[i];
      if (optionsEnded || argument == "-" || !argument.starts_with('-')) {
        if (invocation.command.empty()) {
          invocation.command = argument;
        } else {
          invocation.operands.push_back(argument);
        }
      } else if (argument == "--") {
        optionsEnded = true;
      } else if (argument == "--help" || argument == "-h") {
        out_ << kUsage;
        return kExitSuccess;
      } else if (argument == "--version") {
        out_ << "qvtool " << QV_VERSION << '\n';
        return kExitSuccess;
      } else if (argument == "--sjis") {
        invocation.shiftJis = true;
      } else if (argument == "--quiet") {
        invocation.quiet = true;
      } else if (argument == "--json") {
        invocation.json = true;
      } else if (argument == "--source") {
        if (i + 1 == arguments.size()) return UsageError("--source needs a script source");
        invocation.source = arguments[++i];
      } else {
        return UsageError("unknown option '" + std::string(argument) + "'");
      }
    }

    if (invocation.command.empty()) return UsageError("no command given");
    const bool takesSjis = invocation.command == "encode" || invocation.command == "decode";
    if (invocation.shiftJis && !takesSjis) {
      return UsageError(std::string(invocation.command) + " takes no --sjis");
    }
    const bool lint = invocation.command == "lint";
    if (!lint && (invocation.quiet || invocation.json || invocation.source)) {
      return UsageError(std::string(invocation.command) + " takes no --quiet, --json or --source");
    }
    if (lint) {
      if (invocation.operands.size() != 1) return UsageError("lint needs one game folder");
      if (invocation.quiet && invocation.json)
        return UsageError("--quiet and --json exclude each other");
      return Lint(invocation);
    }
    if (invocation.command == "encode" || invocation.command == "decode") {
      if (invocation.operands.size() != 2) {
        return UsageError(std::string(invocation.command) +
                          " needs an input file and an output file");
      }
      return invocation.command == "encode" ? Encode(invocation) : Decode(invocation);
    }
    if (invocation.command == "scramble" || invocation.command == "unscramble") {
      if (invocation.operands.size() != 2) {
        return UsageError(std::string(invocation.command) +
                          " needs an input picture and an output picture");
      }
      return ScrambleOrUnscramble(invocation);
    }
    if (invocation.command == "make-sample") {
      if (invocation.operands.size() != 1) return UsageError("make-sample needs one folder");
      return MakeSampleFolder(invocation.operands[0]);
    }
    return UsageError("unknown command '" + std::string(invocation.command) + "'");
  }

 private:
  int UsageError(const std::string& problem) {
    err_ << "qvtool: " << problem << "\nTry 'qvtool --help'.\n";
    return kExitUsage;
  }

  int Failure(const std::string& message) {
    err_ << message << '\n';
    return kExitFailure;
  }

  void Warn(std::string_view fileName, const std::vector<TextDiagnostic>& warnings) {
    for (const TextDiagnostic& warning : warnings) err_ << FormatWarning(fileName, warning) << '\n';
  }

  bool Read(std::string_view path, std::string& bytes) {
    std::string reason;
    if (ReadFileBytes(path, bytes, reason)) return true;
    Failure("qvtool: cannot read " + std::string(path) + ": " + reason);
    return false;
  }

  int Write(std::string_view path, std::string_view bytes) {
    std::string reason;
    if (WriteFileAtomically(path, bytes, reason)) return kExitSuccess;
    return Failure("qvtool: cannot write " + std::string(path) + ": " + reason);
  }

  int Encode(const Invocation& invocation) {
    const std::string_view source = invocation.operands[0];
    std::string bytes;
    if (!Read(source, bytes)) return kExitFailure;
    const TextConversion encoded = EncodeScript(
        bytes, cp932_, invocation.shiftJis ? SourceEncoding::kShiftJis : SourceEncoding::kDetect);
    if (!encoded.Succeeded()) return Failure(FormatDiagnostic(source, *encoded.error));
    Warn(source, encoded.warnings);
    return Write(invocation.operands[1], encoded.bytes);
  }

  int Decode(const Invocation& invocation) {
    const std::string_view scenario = invocation.operands[0];
    std::string bytes;
    if (!Read(scenario, bytes)) return kExitFailure;
    const ScriptDecoding decoded = DecodeScript(
        bytes, cp932_, invocation.shiftJis ? DecodedForm::kShiftJis : DecodedForm::kUtf8);
    if (decoded.key != core::kScriptKey) {
      err_ << scenario << ": note: scrambled with key " << HexByte(decoded.key)
           << "; this build writes " << HexByte(core::kScriptKey) << '\n';
    }
    if (!decoded.text.Succeeded()) {
      return Failure(FormatDiagnostic(scenario, *decoded.text.error) +
                     " (decode with --sjis to keep the bytes as they are)");
    }
    Warn(scenario, decoded.text.warnings);
    return Write(invocation.operands[1], decoded.text.bytes);
  }

  int ScrambleOrUnscramble(const Invocation& invocation) {
    const std::string_view input = invocation.operands[0];
    std::string bytes;
    if (!Read(input, bytes)) return kExitFailure;
    std::string problem;
    const std::optional<std::string> converted = invocation.command == "scramble"
                                                     ? ScrambleBackgroundFile(bytes, problem)
                                                     : UnscrambleBackgroundFile(bytes, problem);
    if (!converted) return Failure("qvtool: " + std::string(input) + ": " + problem);
    return Write(invocation.operands[1], *converted);
  }

  int MakeSampleFolder(std::string_view folder) {
    const GameFolderOutcome outcome = MakeSample(folder, cp932_);
    for (const std::string& message : outcome.messages) err_ << message << '\n';
    return outcome.succeeded ? kExitSuccess : kExitFailure;
  }

  int Lint(const Invocation& invocation) {
    const std::string folder(invocation.operands[0]);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
      return Failure("qvtool: " + folder + " is not a folder");
    }
    const std::vector<LintProblem> problems =
        LintGame(folder, std::string(invocation.source.value_or("")), cp932_);
    if (invocation.json) {
      out_ << FormatLintJson(problems);
    } else if (!invocation.quiet) {
      for (const LintProblem& problem : problems) out_ << FormatLintLine(problem) << '\n';
    }
    return problems.empty() ? kExitSuccess : kExitFailure;
  }

  std::ostream& out_;
  std::ostream& err_;
  platform::TableCp932 cp932_;
};

}  // namespace

int RunQvtool(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
  return Runner(out, err).Run(arguments);
}

}  // namespace qv::tool
