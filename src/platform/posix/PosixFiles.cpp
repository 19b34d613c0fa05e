// Files on a POSIX file system (see PosixFiles.h).
#include "platform/posix/PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <vector>

namespace qv::platform::posix {

namespace {

std::string FoldAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool IsAscii(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return (c & 0x80) == 0; });
}

std::vector<std::string> ListEntries(const std::string& directory) {
  std::vector<std::string> names;
  DIR* dir = opendir(directory.c_str());
  if (!dir) return names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) close(fd);
  }
};

}  // namespace

std::string AbsoluteDirectory(const std::string& path) {
  char resolved[PATH_MAX];
  if (!realpath(path.c_str(), resolved)) return {};
  struct stat st {};
  if (stat(resolved, &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  return resolved;
}

PosixFiles::PosixFiles(const std::string& gameFolder, Cp932& cp932) : cp932_(cp932) {
  root_ = AbsoluteDirectory(gameFolder);
  if (root_.empty()) root_ = gameFolder;
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
  base_ = root_ == "/" ? root_ : root_ + "/";
}

std::vector<std::string> PosixFiles::ListGameFolder() {
  std::vector<std::string> files;
  for (std::string& name : ListEntries(root_)) {
    struct stat st {};
    if (stat((root_ + "/" + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
      files.push_back(std::move(name));
    }
  }
  return files;
}

std::string PosixFiles::FindEntry(const std::string& directory, const std::string& component) {
  struct stat st {};
  if (lstat((directory + "/" + component).c_str(), &st) == 0) return component;
  // Game data was made on a file system that ignores case and spells names in code page 932;
  // on disk the names are usually UTF-8.
  std::string utf8 = IsAscii(component) ? component : cp932_.ToUtf8(component);
  std::string folded = FoldAscii(component);
  std::string foldedUtf8 = FoldAscii(utf8);
  for (const std::string& name : ListEntries(directory)) {
    std::string candidate = FoldAscii(name);
    if (candidate == folded || candidate == foldedUtf8) return name;
  }
  return utf8;
}

std::optional<std::string> PosixFiles::Resolve(std::string_view enginePath) {
  std::string_view rest = enginePath;
  if (rest.substr(0, base_.size()) == base_) {
    rest.remove_prefix(base_.size());
  } else if (rest.substr(0, root_.size()) == root_ &&
             (rest.size() == root_.size() || rest[root_.size()] == '\\')) {
    rest.remove_prefix(root_.size());
  } else if (!rest.empty() && rest[0] == '/') {
    return std::nullopt;  // an absolute path outside the game folder
  }
  std::vector<std::string> components;
  size_t i = 0;
  while (i <= rest.size()) {
    size_t end = rest.find_first_of("\\/", i);
    if (end == std::string_view::npos) end = rest.size();
    std::string_view part = rest.substr(i, end - i);
    if (part == "..") {
      if (components.empty()) return std::nullopt;
      components.pop_back();
    } else if (!part.empty() && part != ".") {
      if (part.find('\0') != std::string_view::npos) return std::nullopt;
      components.emplace_back(part);
    }
    i = end + 1;
  }
  std::string path = root_;
  for (const std::string& component : components) {
    path = path + "/" + FindEntry(path, component);
  }
  return path;
}

bool PosixFiles::Exists(std::string_view enginePath) {
  auto path = Resolve(enginePath);
  struct stat st {};
  return path && stat(path->c_str(), &st) == 0;
}

bool PosixFiles::IsDirectory(std::string_view enginePath) {
  auto path = Resolve(enginePath);
  struct stat st {};
  return path && stat(path->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFiles::CreateDirectory(std::string_view enginePath) {
  auto path = Resolve(enginePath);
  return path && mkdir(path->c_str(), 0777) == 0;
}

std::optional<std::vector<uint8_t>> PosixFiles::ReadPrefix(std::string_view enginePath,
                                                           size_t maxBytes) {
  auto path = Resolve(enginePath);
  if (!path) return std::nullopt;
  Fd file{open(path->c_str(), O_RDONLY | O_CLOEXEC)};
  if (file.fd < 0) return std::nullopt;
  struct stat st {};
  if (fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  std::vector<uint8_t> bytes;
  bytes.reserve(std::min<size_t>(static_cast<size_t>(st.st_size), maxBytes));
  uint8_t chunk[65536];
  while (bytes.size() < maxBytes) {
    size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
    ssize_t got = read(file.fd, chunk, want);
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return bytes;
}

std::optional<std::vector<uint8_t>> PosixFiles::ReadAll(std::string_view enginePath) {
  return ReadPrefix(enginePath, SIZE_MAX);
}

std::optional<LocalTime> PosixFiles::LastWriteTime(std::string_view enginePath) {
  auto path = Resolve(enginePath);
  struct stat st {};
  if (!path || stat(path->c_str(), &st) != 0) return std::nullopt;
  struct tm local {};
  if (!localtime_r(&st.st_mtime, &local)) return std::nullopt;
  return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                   local.tm_hour,        local.tm_min,     local.tm_sec};
}

bool PosixFiles::ReplaceAtomically(std::string_view enginePath, const std::vector<uint8_t>& bytes) {
  auto path = Resolve(enginePath);
  if (!path) return false;
  std::string temporary = *path + ".tmp-XXXXXX";
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0)
      ok = false;
    else
      done += static_cast<size_t>(wrote);
  }
  if (ok && fsync(fd) != 0) ok = false;
  fchmod(fd, 0644);
  if (close(fd) != 0) ok = false;
  if (ok && rename(name.data(), path->c_str()) != 0) ok = false;
  if (!ok) unlink(name.data());
  return ok;
}

}  // namespace qv::platform::posix
