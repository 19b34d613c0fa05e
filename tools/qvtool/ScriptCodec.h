// Script sources to scenario files and back: Shift-JIS text, every byte XOR-ed with one key.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/ScriptScramble.h"
#include "platform/Cp932.h"
#include "qvtool/ShiftJisText.h"

namespace qv::tool {

// Every byte XOR-ed with `key`; the same call unscrambles. Takes the bytes as they are, so tests
// can build scenario files the encoder would never write (bare LFs, another key).
std::string ScrambleScript(std::string_view bytes, uint8_t key = core::kScriptKey);

// A script source (see ConvertToShiftJisText) to the bytes of a scenario file.
TextConversion EncodeScript(std::string_view source, platform::Cp932& cp932,
                            SourceEncoding encoding = SourceEncoding::kDetect);

enum class DecodedForm {
  kUtf8,      // UTF-8 with LF line ends, which EncodeScript turns back into the same file
  kShiftJis,  // the unscrambled bytes exactly as stored
};

struct ScriptDecoding {
  TextConversion text;
  uint8_t key = core::kScriptKey;  // the key the file was found to be scrambled with
};

// A scenario file back to text. Files scrambled with another one-byte key are recognised by their
// CR LF pairs; a file with no line break at all is taken to use kScriptKey.
ScriptDecoding DecodeScript(std::string_view scenario, platform::Cp932& cp932,
                            DecodedForm form = DecodedForm::kUtf8);

}  // namespace qv::tool
