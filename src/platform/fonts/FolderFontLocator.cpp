// The web build's font locator: the faces shipped in one folder beside the program, found by the
// names inside the files, since a browser has neither installed fonts nor fontconfig (see
// FontLocator.h). The folder is $QV_FONT_DIR, else /fonts.
#include <dirent.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>

#include "platform/fonts/FontLocator.h"
#include "platform/fonts/FreeTypeLibrary.h"

namespace qv::platform::fonts {

namespace {

constexpr char32_t kHiraganaA = 0x3042;

bool IsFontFile(const std::string& name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == "ttf" || extension == "otf" || extension == "ttc";
}

// Every face of the folder's files that has Japanese, in the files' name order.
std::vector<FontFace> ReadFolder(const std::string& folder) {
  std::vector<std::string> files;
  if (DIR* dir = opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir)) {
      if (IsFontFile(entry->d_name)) files.push_back(folder + "/" + entry->d_name);
    }
    closedir(dir);
  }
  std::sort(files.begin(), files.end());
  std::vector<FontFace> faces;
  FreeTypeLibrary library;
  if (!library.library) return faces;
  for (const std::string& path : files) {
    FT_Long count = 1;
    for (FT_Long index = 0; index < count; ++index) {
      FT_Face face = nullptr;
      if (FT_New_Face(library.library, path.c_str(), index, &face) != 0) break;
      count = face->num_faces;
      if (face->family_name && FT_Get_Char_Index(face, kHiraganaA) != 0) {
        faces.push_back(FontFace{path, static_cast<int>(index), face->family_name});
      }
      FT_Done_Face(face);
    }
  }
  return faces;
}

}  // namespace

struct FontLocator::Config {
  std::vector<FontFace> faces;
};

FontLocator::FontLocator() : config_(std::make_unique<Config>()) {
  const char* folder = std::getenv("QV_FONT_DIR");
  config_->faces = ReadFolder(folder && *folder ? folder : "/fonts");
}

FontLocator::~FontLocator() = default;

// The order fontconfig gives on a system with only these fonts: the named family, its stand-in,
// then the others.
std::vector<FontFace> FontLocator::Candidates(std::string_view familyUtf8, int /*weight*/) const {
  std::vector<FontFace> found;
  auto addFamily = [&](std::string_view family) {
    for (const FontFace& face : config_->faces) {
      if (SameFamilyName(face.family, family)) found.push_back(face);
    }
  };
  if (!familyUtf8.empty()) addFamily(familyUtf8);
  if (!SameFamilyName(familyUtf8, StandInFamily(familyUtf8))) addFamily(StandInFamily(familyUtf8));
  for (const FontFace& face : config_->faces) {
    if (std::none_of(found.begin(), found.end(), [&face](const FontFace& other) {
          return other.path == face.path && other.index == face.index;
        })) {
      found.push_back(face);
    }
  }
  return found;
}

}  // namespace qv::platform::fonts
