// Picture files: header checks, decoding into surfaces and masks, and the writers (see
// PictureFile.h).
#include "graphics/PictureFile.h"

#include <algorithm>
#include <cstring>

#include "core/Bytes.h"

namespace qv::graphics {

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;
constexpr uint32_t kV4HeaderBytes = 108;
constexpr uint32_t kV5HeaderBytes = 124;
constexpr uint32_t kUncompressed = 0;  // BI_RGB
constexpr size_t kMaskTableEntries = 256;

uint16_t LoadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t LoadU32(const uint8_t* p) {
  return static_cast<uint32_t>(core::LoadI32(p));
}

// The header fields every picture kind is judged by.
struct BitmapHeader {
  uint32_t pixelOffset = 0;
  uint32_t headerSize = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 0;
  uint16_t bitsPerPixel = 0;
  uint32_t compression = 0;
  uint32_t coloursUsed = 0;
};

// Reads and checks what the depth does not change; the caller checks the depth and the rows.
bool ReadHeader(std::span<const uint8_t> file, BitmapHeader& header, std::string& why) {
  if (file.size() < kFileHeaderBytes + 4) {
    why = "too short for a bitmap header";
    return false;
  }
  if (file[0] != 'B' || file[1] != 'M') {
    why = "no BM signature";
    return false;
  }
  header.pixelOffset = LoadU32(&file[10]);
  header.headerSize = LoadU32(&file[14]);
  if (header.headerSize != kInfoHeaderBytes && header.headerSize != kV4HeaderBytes &&
      header.headerSize != kV5HeaderBytes) {
    why = "unsupported information header of " + std::to_string(header.headerSize) + " bytes";
    return false;
  }
  if (file.size() < kFileHeaderBytes + header.headerSize) {
    why = "information header cut short";
    return false;
  }
  const uint8_t* info = &file[kFileHeaderBytes];
  header.width = core::LoadI32(info + 4);
  header.height = core::LoadI32(info + 8);
  header.planes = LoadU16(info + 12);
  header.bitsPerPixel = LoadU16(info + 14);
  header.compression = LoadU32(info + 16);
  header.coloursUsed = LoadU32(info + 32);
  if (header.planes != 1) {
    why = std::to_string(header.planes) + " planes (1 expected)";
    return false;
  }
  if (header.compression != kUncompressed) {
    why = "compressed pixels (compression " + std::to_string(header.compression) + ")";
    return false;
  }
  if (header.height < 0) {
    why = "rows stored top-down (negative height)";
    return false;
  }
  if (header.width <= 0 || header.height == 0) {
    why = "empty picture (" + std::to_string(header.width) + " x " + std::to_string(header.height) +
          ")";
    return false;
  }
  if (header.width > kMaxPictureSide || header.height > kMaxPictureSide) {
    why =
        "implausible size " + std::to_string(header.width) + " x " + std::to_string(header.height);
    return false;
  }
  if (header.pixelOffset < kFileHeaderBytes + header.headerSize) {
    why = "pixel data offset " + std::to_string(header.pixelOffset) + " inside the header";
    return false;
  }
  return true;
}

bool CheckDepth(const BitmapHeader& header, uint16_t expected, std::string& why) {
  if (header.bitsPerPixel == expected) return true;
  why = std::to_string(header.bitsPerPixel) + " bits per pixel (" + std::to_string(expected) +
        " expected)";
  return false;
}

// Every one of `height` padded rows lies between the pixel offset and the end of the file.
bool RowsInsideFile(std::span<const uint8_t> file, const BitmapHeader& header, size_t rowBytes,
                    std::string& why) {
  // Both factors are bounded by kMaxPictureSide, so the product cannot overflow.
  const uint64_t needed = static_cast<uint64_t>(rowBytes) * static_cast<uint64_t>(header.height);
  const uint64_t available =
      header.pixelOffset <= file.size() ? file.size() - header.pixelOffset : 0;
  if (header.pixelOffset > file.size() || needed > available) {
    why = "pixel rows run past the end of the file (" + std::to_string(needed) +
          " bytes needed from offset " + std::to_string(header.pixelOffset) + ", " +
          std::to_string(available) + " there)";
    return false;
  }
  return true;
}

std::string SizeText(int width, int height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

// Whether a picture of this size can serve as `kind`.
bool FitsKind(PictureKind kind, int width, int height, int frameWidth, int frameHeight,
              std::string& why) {
  switch (kind) {
    case PictureKind::Background:
    case PictureKind::AreaImage:
      if (width == frameWidth && height == frameHeight) return true;
      why =
          SizeText(width, height) + " instead of the frame's " + SizeText(frameWidth, frameHeight);
      return false;
    case PictureKind::Sprite:
    case PictureKind::MessageWindow:
    case PictureKind::ChoiceBar:
      if (width >= 2) return true;
      why = "too narrow for a colour half and a mask half";
      return false;
    case PictureKind::ButtonParts:
      if (width == kButtonPartsWidth && height == kButtonPartsHeight) return true;
      why = SizeText(width, height) + " instead of " +
            SizeText(kButtonPartsWidth, kButtonPartsHeight);
      return false;
    case PictureKind::WaitCursor:
      if (core::Surface::RowBytesFor(width) * static_cast<size_t>(height) >= kWaitCursorBytes) {
        return true;
      }
      why = "fewer than " + std::to_string(kWaitCursorBytes) + " bytes of pixels";
      return false;
    case PictureKind::Plain:
      return true;
  }
  return false;
}

void PutU16(std::vector<uint8_t>& out, size_t at, uint16_t value) {
  core::StoreI16(&out[at], static_cast<int16_t>(value));
}
void PutU32(std::vector<uint8_t>& out, size_t at, uint32_t value) {
  core::StoreI32(&out[at], static_cast<int32_t>(value));
}

// The 14-byte file header and a 40-byte information header, uncompressed, no resolution.
std::vector<uint8_t> HeaderFor(int width, int height, uint16_t bits, uint32_t tableEntries,
                               size_t rowBytes) {
  const size_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes + 4 * size_t{tableEntries};
  const size_t imageBytes = rowBytes * static_cast<size_t>(std::max(height, 0));
  std::vector<uint8_t> out(pixelOffset + imageBytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, 2, static_cast<uint32_t>(out.size()));
  PutU32(out, 10, static_cast<uint32_t>(pixelOffset));
  PutU32(out, 14, kInfoHeaderBytes);
  PutU32(out, 18, static_cast<uint32_t>(width));
  PutU32(out, 22, static_cast<uint32_t>(height));
  PutU16(out, 26, 1);
  PutU16(out, 28, bits);
  PutU32(out, 30, kUncompressed);
  PutU32(out, 34, static_cast<uint32_t>(imageBytes));
  PutU32(out, 46, tableEntries);
  return out;
}

}  // namespace

void ScrambleBackground(std::span<uint8_t> file) {
  const size_t n = std::min(file.size(), kScrambledBytes);
  for (size_t i = 0; i < n; ++i) file[i] ^= kBackgroundKey;
}

std::optional<Picture> DecodePicture(std::span<const uint8_t> file, PictureKind kind,
                                     int frameWidth, int frameHeight, std::string& why) {
  why.clear();  // a reason left from an earlier failure must not stand beside a good picture
  BitmapHeader header;
  if (!ReadHeader(file, header, why) || !CheckDepth(header, 24, why)) return std::nullopt;
  const size_t rowBytes = core::Surface::RowBytesFor(header.width);
  if (!FitsKind(kind, header.width, header.height, frameWidth, frameHeight, why) ||
      !RowsInsideFile(file, header, rowBytes, why)) {
    return std::nullopt;
  }
  // A surface's rows are laid out as the file's, so the rows move in one copy.
  Picture picture;
  picture.pixels.Create(header.width, header.height);
  std::memcpy(picture.pixels.Data(), &file[header.pixelOffset], picture.pixels.SizeBytes());
  return picture;
}

std::optional<MaskPicture> DecodeMask(std::span<const uint8_t> file, std::string& why) {
  why.clear();
  BitmapHeader header;
  if (!ReadHeader(file, header, why) || !CheckDepth(header, 8, why)) return std::nullopt;
  const uint64_t tableEntries = header.coloursUsed == 0 ? kMaskTableEntries : header.coloursUsed;
  const uint64_t tableStart = kFileHeaderBytes + header.headerSize;
  if (tableStart + 4 * tableEntries > header.pixelOffset) {
    why = "colour table of " + std::to_string(tableEntries) + " entries runs into the pixel data";
    return std::nullopt;
  }
  const size_t rowBytes = (static_cast<size_t>(header.width) + 3) & ~size_t{3};
  if (!RowsInsideFile(file, header, rowBytes, why)) return std::nullopt;

  MaskPicture mask;
  mask.width = header.width;
  mask.height = header.height;
  const size_t usable = static_cast<size_t>(std::min<uint64_t>(tableEntries, kMaskTableEntries));
  for (size_t i = 0; i < usable; ++i) mask.red[i] = file[tableStart + 4 * i + 2];
  const size_t width = static_cast<size_t>(header.width);
  mask.indices.resize(width * static_cast<size_t>(header.height));
  for (size_t r = 0; r < static_cast<size_t>(header.height); ++r) {
    std::memcpy(&mask.indices[r * width], &file[header.pixelOffset + r * rowBytes], width);
  }
  return mask;
}

std::vector<uint8_t> EncodeBitmap(const core::Surface& picture) {
  std::vector<uint8_t> out =
      HeaderFor(picture.Width(), picture.Height(), 24, 0, picture.RowBytes());
  if (!picture.Empty()) {
    std::memcpy(&out[kFileHeaderBytes + kInfoHeaderBytes], picture.Data(), picture.SizeBytes());
  }
  return out;
}

std::vector<uint8_t> EncodeMask(int width, int height, std::span<const uint8_t> indices) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  const size_t rowBytes = (static_cast<size_t>(width) + 3) & ~size_t{3};
  std::vector<uint8_t> out = HeaderFor(width, height, 8, kMaskTableEntries, rowBytes);
  const size_t table = kFileHeaderBytes + kInfoHeaderBytes;
  for (size_t i = 0; i < kMaskTableEntries; ++i) {
    for (size_t k = 0; k < 3; ++k) out[table + 4 * i + k] = static_cast<uint8_t>(i);
  }
  const size_t pixels = table + 4 * kMaskTableEntries;
  const size_t w = static_cast<size_t>(width);
  for (size_t r = 0; r < static_cast<size_t>(height); ++r) {
    const size_t from = r * w;
    if (from >= indices.size()) break;
    const size_t n = std::min(w, indices.size() - from);
    std::memcpy(&out[pixels + r * rowBytes], &indices[from], n);
  }
  return out;
}

}  // namespace qv::graphics
