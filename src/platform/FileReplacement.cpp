// The temporary file is created with O_EXCL under a fresh name, as mkstemp does, but with mode 0666
// so that the umask applies to a new file as it would to one written in place.
#include "platform/FileReplacement.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>

#include "platform/FileAccess.h"
#include "platform/TemporaryFiles.h"

namespace qel {
namespace {

namespace fs = std::filesystem;

constexpr int kNameAttempts = 100;

std::string uniqueSuffix() {
  static std::atomic<uint64_t> counter{0};
  const uint64_t clock =
      static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  uint64_t v = (clock * 0x9E3779B97F4A7C15ull) ^ (static_cast<uint64_t>(::getpid()) << 32) ^
               counter.fetch_add(1);
  std::string suffix;
  for (int i = 0; i < 8; ++i, v /= 36)
    suffix.push_back("0123456789abcdefghijklmnopqrstuvwxyz"[v % 36]);
  return suffix;
}

// Makes the rename itself durable; file systems that cannot sync a folder lose nothing by it.
void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Keeps the target's current contents as `backup`: a second link when the file system allows it,
// else a copy. A backup that is the target itself would cost the target, so none is kept then.
int keepBackup(const std::string& target, const std::string& backup) {
  std::error_code ec, targetEc;
  const fs::path backupFile = fs::weakly_canonical(backup, ec);
  if (!ec && backupFile == fs::weakly_canonical(target, targetEc) && !targetEc) return 0;
  if (::unlink(backup.c_str()) != 0 && errno != ENOENT) return errno;
  if (::link(target.c_str(), backup.c_str()) == 0) return 0;
  fs::copy_file(target, backup, fs::copy_options::overwrite_existing, ec);
  return ec ? ec.value() : 0;
}

}  // namespace

Status FileReplacement::begin(const std::string& target, Target kind) {
  discard();
  fs::path path(target);
  std::error_code ec;
  const bool followLinks = kind == Target::kFollowLinks;
  if (followLinks && fs::is_symlink(path, ec)) {
    const fs::path resolved = fs::canonical(path, ec);
    if (!ec) path = resolved;
  }
  struct stat old;
  const bool exists = (followLinks ? ::stat(path.c_str(), &old) : ::lstat(path.c_str(), &old)) == 0;
  if (!exists && errno != ENOENT) return fail(errno);
  if (exists && !S_ISREG(old.st_mode) && (followLinks || !S_ISLNK(old.st_mode)))
    return fail(kNotRegularFile);
  m_target = path.string();

  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < kNameAttempts; ++attempt) {
    m_temporary =
        (folder / ("." + path.filename().string() + "." + uniqueSuffix() + ".tmp")).string();
    fd = ::open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                followLinks ? 0666 : 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int error = errno;
    m_temporary.clear();
    return fail(error);
  }
  m_signalSlot = temporary_files::enter(m_temporary);
  // The replacement keeps the permissions of the file it replaces.
  if (exists && followLinks) ::fchmod(fd, old.st_mode & 07777);
  m_file = ::fdopen(fd, "wb");
  if (m_file == nullptr) {
    const int error = errno;
    ::close(fd);
    return fail(error);
  }
  return Status();
}

Status FileReplacement::commit(const std::string& backupPath) {
  if (m_file == nullptr) return fail(EBADF);
  if (std::fflush(m_file) != 0) return fail(errno);
  if (std::ferror(m_file)) return fail(EIO);
  if (::fsync(fileno(m_file)) != 0) return fail(errno);
  const int closed = std::fclose(m_file);
  m_file = nullptr;
  if (closed != 0) return fail(errno);
  struct stat current;
  if (!backupPath.empty() && ::stat(m_target.c_str(), &current) == 0) {
    if (const int error = keepBackup(m_target, backupPath)) return fail(error);
  }
  if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0) return fail(errno);
  temporary_files::leave(m_signalSlot);
  m_signalSlot = -1;
  m_temporary.clear();
  const fs::path target(m_target);
  syncFolder(target.has_parent_path() ? target.parent_path() : fs::path("."));
  return Status();
}

void FileReplacement::discard() {
  if (m_file) std::fclose(m_file);
  m_file = nullptr;
  if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
  temporary_files::leave(m_signalSlot);
  m_signalSlot = -1;
  m_temporary.clear();
}

Status FileReplacement::fail(int error) {
  discard();
  return Status::unwritable(error);
}

std::string backupPathFor(const std::string& target) {
  const size_t nameStart = target.find_last_of('/') + 1;  // 0 without a folder
  const size_t dot = target.find('.', nameStart + 1);
  std::string backup = target.substr(0, dot) + ".bak";
  if (backup == target) backup += ".bak";
  return backup;
}

void sweepStaleTemporaries(const std::string& folder, const std::string& name) {
  constexpr auto kStale = std::chrono::hours(1);
  const std::string prefix = "." + name + (name.empty() ? "" : ".");
  const auto now = fs::file_time_type::clock::now();
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    const std::string file = entry.path().filename().string();
    if (file.size() < prefix.size() + 5 || file.compare(0, prefix.size(), prefix) != 0 ||
        file.compare(file.size() - 4, 4, ".tmp") != 0)
      continue;
    struct stat s;
    std::error_code timeError;
    const auto written = fs::last_write_time(entry.path(), timeError);
    if (!timeError && now - written > kStale && ::lstat(entry.path().c_str(), &s) == 0 &&
        S_ISREG(s.st_mode) && s.st_uid == ::geteuid()) {
      ::unlink(entry.path().c_str());
    }
  }
}

}  // namespace qel
