// New contents for a file, written beside it under a unique temporary name and renamed over it
// only once complete and on disk: a failed or abandoned write leaves the old file byte for byte,
// and two writers of one path each leave a whole file (the last to finish wins), never a mix. A
// process stopped by SIGINT or SIGTERM removes its temporaries (see TemporaryFiles.h).
#pragma once

#include <cstdio>
#include <string>

#include "platform/Status.h"

namespace qel {

class FileReplacement {
 public:
  FileReplacement() = default;
  ~FileReplacement() { discard(); }
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // kFollowLinks: a link at the target is followed to the file it names, whose permissions the
  // new file keeps (a user's own files). kPrivate: whatever stands at the target's name, a link
  // included, is replaced by the new file itself, readable by its owner only (a private cache's
  // files, where a link may have been planted).
  enum class Target { kFollowLinks, kPrivate };
  // Creates the temporary file in the target's folder. Unwritable when the target is not a
  // regular file (or a link, for kPrivate) or the folder refuses.
  Status begin(const std::string& target, Target kind = Target::kFollowLinks);
  // The temporary file, open for writing and seeking; null outside begin .. commit.
  std::FILE* file() const { return m_file; }

  // Flushes the file to disk and renames it over the target. With a `backupPath`, the previous
  // contents of the target stay there (replacing an older backup); a backup path that names the
  // target itself is not used. Unwritable when any step fails: the temporary is then removed and
  // the target keeps what it held.
  Status commit(const std::string& backupPath = std::string());
  // Removes the temporary file; the target keeps what it held.
  void discard();

  const std::string& temporaryPath() const { return m_temporary; }

 private:
  // Removes the temporary file: the failure, in the system's words ("Permission denied").
  Status fail(int error);

  std::string m_target;  // the file renamed over, links resolved
  std::string m_temporary;
  std::FILE* m_file = nullptr;
  int m_signalSlot = -1;  // where a stopped process finds the temporary to remove
};

// Removes the temporaries that killed processes left in `folder`: those of the file `name` there
// ("." name "." ... ".tmp"), or of any file when `name` is empty; only this user's regular files
// last written more than an hour ago, so that no write under way is touched.
void sweepStaleTemporaries(const std::string& folder, const std::string& name = std::string());

// Where a save keeps the previous contents: beside the file, its name with everything from its
// first "." on replaced by ".bak" ("words.v2.qcd" -> "words.bak", "notes" -> "notes.bak"). The dot
// that starts a hidden file's name does not count. A name that would be its own backup
// ("words.bak") gets ".bak" added instead, so that its old contents are kept too.
std::string backupPathFor(const std::string& target);

}  // namespace qel
