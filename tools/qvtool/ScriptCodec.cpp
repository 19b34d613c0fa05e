// Script sources to scenario files and back: Shift-JIS text, every byte XOR-ed with one key.
#include "qvtool/ScriptCodec.h"

#include <span>

namespace qv::tool {

namespace {

std::span<uint8_t> BytesOf(std::string& text) {
  return {reinterpret_cast<uint8_t*>(text.data()), text.size()};
}

}  // namespace

std::string ScrambleScript(std::string_view bytes, uint8_t key) {
  std::string scrambled(bytes);
  core::XorBytes(BytesOf(scrambled), key);
  return scrambled;
}

TextConversion EncodeScript(std::string_view source, platform::Cp932& cp932,
                            SourceEncoding encoding) {
  TextConversion result = ConvertToShiftJisText(source, cp932, encoding);
  if (result.Succeeded()) core::XorBytes(BytesOf(result.bytes), core::kScriptKey);
  return result;
}

ScriptDecoding DecodeScript(std::string_view scenario, platform::Cp932& cp932, DecodedForm form) {
  ScriptDecoding decoding;
  const std::span<const uint8_t> bytes{reinterpret_cast<const uint8_t*>(scenario.data()),
                                       scenario.size()};
  decoding.key = core::DetectScriptKey(bytes).value_or(core::kScriptKey);
  std::string plain = ScrambleScript(scenario, decoding.key);
  if (form == DecodedForm::kShiftJis) {
    decoding.text.bytes = std::move(plain);
  } else {
    decoding.text = ConvertToUtf8Text(plain, cp932);
  }
  return decoding;
}

}  // namespace qv::tool
