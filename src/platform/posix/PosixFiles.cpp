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
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/TemporaryNames.h"

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

bool IsPlainFile(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<std::vector<uint8_t>> ReadHostFile(const std::string& path, size_t maxBytes) {
  Fd file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
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

// A rename or a new entry lasts through a power cut only once its folder is flushed too. File
// systems that cannot flush a folder say so with EINVAL; they have nothing to flush.
bool SyncFolder(const std::string& folder) {
  Fd dir{open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
  if (dir.fd < 0) return false;
  return fsync(dir.fd) == 0 || errno == EINVAL;
}

std::string ParentOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The replacement itself, on a host path. With `lastWrite`, the new file keeps that time
// instead of the time of writing.
bool ReplaceHostFile(const std::string& path, const std::vector<uint8_t>& bytes,
                     const timespec* lastWrite) {
  std::string temporary = path + std::string(kTemporaryInfix) + "XXXXXX";
  std::vector<char> name(temporary.begin(), temporary.end());
  name.push_back('\0');
  int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return false;
  // Set before the flush so the mode is as durable as the bytes.
  bool ok = fchmod(fd, 0644) == 0;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    ssize_t wrote = write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0)
      ok = false;
    else
      done += static_cast<size_t>(wrote);
  }
  if (ok && lastWrite) {
    const timespec times[2] = {{0, UTIME_OMIT}, *lastWrite};
    ok = futimens(fd, times) == 0;
  }
  if (ok && fsync(fd) != 0) ok = false;
  if (close(fd) != 0) ok = false;
  if (ok && rename(name.data(), path.c_str()) != 0) ok = false;
  if (!ok) {
    unlink(name.data());
    return false;
  }
  // The new file is in place: the write succeeded, whatever the folder's flush says. A failed
  // flush only means the rename may not outlive a power cut, which is said here rather than
  // reported as a failed save that did replace the old one.
  if (!SyncFolder(ParentOf(path))) {
    std::fprintf(stderr, "qvplay: %s is written, but its folder could not be flushed: %s\n",
                 path.c_str(), std::strerror(errno));
  }
  return true;
}

// Copies the plain files of `from` that `to` lacks, keeping their last-write times (the load
// screen shows them as the times the games were saved).
void CopyMissingFiles(const std::string& from, const std::string& to) {
  for (const std::string& name : ListEntries(from)) {
    const std::string source = from + "/" + name;
    struct stat st {};
    if (IsTemporaryName(name) || lstat(source.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
      continue;
    }
    const std::string target = to + "/" + name;
    struct stat existing {};
    if (lstat(target.c_str(), &existing) == 0) continue;
    if (auto bytes = ReadHostFile(source, SIZE_MAX)) ReplaceHostFile(target, *bytes, &st.st_mtim);
  }
}

bool MakeFolders(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::string parent = ParentOf(path);
  if (parent != path && !MakeFolders(parent)) return false;
  return (mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) && SyncFolder(parent);
}

}  // namespace

std::string AbsoluteDirectory(const std::string& path) {
  char resolved[PATH_MAX];
  if (!realpath(path.c_str(), resolved)) return {};
  struct stat st {};
  if (stat(resolved, &st) != 0 || !S_ISDIR(st.st_mode)) return {};
  return resolved;
}

PosixFiles::PosixFiles(const std::string& gameFolder, Cp932& cp932, SaveFolderHost host)
    : cp932_(cp932), host_(std::move(host)) {
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

std::optional<std::vector<std::string>> PosixFiles::Components(std::string_view enginePath) const {
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
  return components;
}

std::optional<std::string> PosixFiles::Resolve(std::string_view enginePath) {
  auto components = Components(enginePath);
  if (!components) return std::nullopt;
  std::string path = root_;
  size_t first = 0;
  if (!movedFolder_.empty() && !components->empty() &&
      FoldAscii(components->front()) == movedFolder_) {
    path = movedFolderHost_;
    first = 1;
  }
  for (size_t i = first; i < components->size(); ++i) {
    path = path + "/" + FindEntry(path, (*components)[i]);
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
  if (!path || mkdir(path->c_str(), 0777) != 0) return false;
  SyncFolder(ParentOf(*path));  // the first save must not lose its folder to a power cut
  return true;
}

std::optional<std::vector<uint8_t>> PosixFiles::ReadPrefix(std::string_view enginePath,
                                                           size_t maxBytes) {
  auto path = Resolve(enginePath);
  if (!path) return std::nullopt;
  return ReadHostFile(*path, maxBytes);
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
  return path && ReplaceHostFile(*path, bytes, nullptr);
}

std::optional<std::string> PosixFiles::PlaceSaveFolder(std::string_view saveFolder,
                                                       std::string_view instanceName) {
  auto components = Components(saveFolder);
  if (!components || components->size() != 1) return std::nullopt;
  const std::string& name = components->front();
  const std::string inGame = root_ + "/" + FindEntry(root_, name);
  struct stat st {};
  SaveFolderFacts facts;
  facts.saveFolderExists = stat(inGame.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  facts.saveFolderWritable = facts.saveFolderExists && host_.writable(inGame);
  facts.gameFolderWritable = host_.writable(root_);
  const SavePlace place = ChooseSavePlace(facts);
  if (place == SavePlace::GameFolder) return std::nullopt;
  const std::string utf8 =
      IsAscii(instanceName) ? std::string(instanceName) : cp932_.ToUtf8(instanceName);
  const std::string folder = DataSaveFolder(host_.dataHome, utf8);
  // Without a data folder the game folder is still the best place: saving there fails with its
  // message, and the saves it holds can still be loaded.
  if (folder.empty() || !MakeFolders(folder)) return std::nullopt;
  if (place == SavePlace::DataFolderWithCopies) CopyMissingFiles(inGame, folder);
  movedFolder_ = FoldAscii(name);
  movedFolderHost_ = folder;
  std::fprintf(stderr, "qvplay: %s cannot be written; saving in %s\n", inGame.c_str(),
               folder.c_str());
  return folder;
}

int PosixFiles::RemoveStaleTemporaries(std::string_view folderPath) {
  auto folder = Resolve(folderPath);
  if (!folder) return 0;
  int removed = 0;
  for (const std::string& name : ListEntries(*folder)) {
    const std::string path = *folder + "/" + name;
    if (IsTemporaryName(name) && IsPlainFile(path) && unlink(path.c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace qv::platform::posix
