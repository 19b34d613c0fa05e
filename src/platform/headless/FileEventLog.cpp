// events.log (see FileEventLog.h).
#include "platform/headless/FileEventLog.h"

namespace qv::platform::headless {

FileEventLog::FileEventLog(Clock& clock, const std::string& path)
    : clock_(clock), file_(std::fopen(path.c_str(), "wb")) {}

FileEventLog::~FileEventLog() {
  if (file_) std::fclose(file_);
}

void FileEventLog::Write(std::string_view line) {
  if (!file_) return;
  uint64_t now = clock_.nowMs();
  std::lock_guard lock(mutex_);
  // Line breaks inside a text would break the one-event-a-line format.
  std::string escaped;
  escaped.reserve(line.size());
  for (char c : line) {
    if (c == '\n')
      escaped += "\\n";
    else if (c == '\r')
      escaped += "\\r";
    else
      escaped.push_back(c);
  }
  std::fprintf(file_, "%llu %s\n", static_cast<unsigned long long>(now), escaped.c_str());
  std::fflush(file_);
}

}  // namespace qv::platform::headless
