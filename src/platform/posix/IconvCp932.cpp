// Code page 932 conversions through the C library's iconv.
#include "platform/posix/IconvCp932.h"

#include <iconv.h>

#include <cerrno>

namespace qv::platform::posix {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool IsTrailByte(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// One conversion descriptor per call: iconv descriptors carry state and may not be shared
// between threads, and opening one is cheap once the C library has loaded the table.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (Valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts from `in` until the input ends or a sequence stops it; returns 0 or that errno.
  int Convert(std::string_view& in, std::string& out) {
    char buffer[4096];
    for (;;) {
      char* inPtr = const_cast<char*>(in.data());
      size_t inLeft = in.size();
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      size_t result = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      int error = result == static_cast<size_t>(-1) ? errno : 0;
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      in.remove_prefix(in.size() - inLeft);
      if (error == E2BIG) continue;
      if (error != 0) iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      return error;
    }
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string IconvCp932::ToUtf8(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size() + cp932.size() / 2);
  Converter converter("UTF-8", "CP932");
  std::string_view rest = cp932;
  while (!rest.empty()) {
    if (converter.Valid() && converter.Convert(rest, out) == 0) break;
    // Without the table (a C library lacking CP932) only ASCII can be trusted.
    if (!converter.Valid() && static_cast<unsigned char>(rest[0]) < 0x80) {
      out += rest[0];
      rest.remove_prefix(1);
      continue;
    }
    const bool pair = rest.size() >= 2 && IsLeadByte(static_cast<unsigned char>(rest[0])) &&
                      IsTrailByte(static_cast<unsigned char>(rest[1]));
    out += kReplacement;
    rest.remove_prefix(pair ? 2 : 1);
  }
  return out;
}

bool IconvCp932::FromUtf8(std::string_view utf8, std::string& out, size_t& badOffset) {
  out.clear();
  Converter converter("CP932", "UTF-8");
  std::string_view rest = utf8;
  if (converter.Valid()) {
    if (converter.Convert(rest, out) == 0) return true;
  } else {
    while (!rest.empty() && static_cast<unsigned char>(rest[0]) < 0x80) {
      out += rest[0];
      rest.remove_prefix(1);
    }
    if (rest.empty()) return true;
  }
  badOffset = utf8.size() - rest.size();
  return false;
}

}  // namespace qv::platform::posix
