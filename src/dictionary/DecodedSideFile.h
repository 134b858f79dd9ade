// A dictionary's length sections as decoded once, kept in a file of the user's cache folder and
// mapped by later processes, so that a search reads decoded entries instead of decoding the
// dictionary again. The dictionary stays the only source of truth: a side file is used only when it
// names the dictionary's path, size, last-write time and header checksum as read now, and one that
// is damaged, stale or from another version is ignored and made again. Nothing in a side file is
// trusted past its bounds.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "dictionary/DecodedSection.h"
#include "dictionary/FileFormat.h"
#include "platform/MappedFile.h"
#include "platform/Status.h"

namespace qel {

class Dictionary;
namespace side_file {
class DictionaryBytes;
}

class DecodedSideFile {
 public:
  // Maps the side file at `path` when it belongs to `dictionary` as read now; null when it is
  // missing, damaged, stale or from another version.
  static std::shared_ptr<DecodedSideFile> open(const std::string& path,
                                               const Dictionary& dictionary);
  // Decodes every length section of `dictionary` and writes them to `path`, replacing what was
  // there only once the whole file is written. A failure when the dictionary changed or the
  // folder refused.
  static Status make(const std::string& path, Dictionary& dictionary);

  // Section `length`, checked each time (the dictionary asks once per length and keeps it): its
  // bounds, and the checksum of its bytes here, always; that of its bytes in the dictionary unless
  // the side file is vouched for. Null when the file holds none or a damaged one (the file is then
  // removed, to be made again by the next process).
  std::shared_ptr<const DecodedSection> section(int length) const;

  // Whether every length's side-file bytes are known to come from the dictionary's bytes as they
  // are now: a note beside the side file says so, written once both checksums were checked (or
  // the file made), and naming both files' identities. It spares reading the dictionary's bytes
  // again; the side file's own bytes, which are cheap to check, are checked in every process.
  bool vouched() const { return m_vouched; }
  // Writes that note: at once for a side file this process made (`checked` true), else after
  // checking every length, removing the side file when one fails. Not while the dictionary's
  // last change is so recent that a file system's coarse times could hide another change.
  void vouch(bool checked);

 private:
  DecodedSideFile() = default;
  std::string notePath() const { return m_path + ".ok"; }

  // Whether length `length`'s bytes in the dictionary hold what the side file says they held.
  bool dictionaryBytesHold(int length, side_file::DictionaryBytes& reader) const;

  std::string m_path;
  std::shared_ptr<const MappedFile> m_file;
  // The dictionary the side file was opened for: it drops this side file (its decoded source)
  // before it is read again or destroyed.
  const Dictionary* m_dictionary = nullptr;
  int m_letterCount = 0;  // letters of the dictionary's alphabet: no letter index reaches it
  FileIdentity m_dictionaryIdentity;
  bool m_vouched = false;
};

// Gives side-file bytes the key of `dictionary` as read now and a matching header checksum, and
// with kKeyAndContents checksums that fit each length's bytes as they are, so that tests and
// fuzzing reach the checks behind them (a length's checksum in the dictionary stays as it was).
// False when the bytes are too short.
enum class Restamp { kKey, kKeyAndContents };
bool restampSideFile(std::vector<uint8_t>& bytes, const Dictionary& dictionary,
                     Restamp what = Restamp::kKeyAndContents);

// False when QEL_NO_CACHE is set to anything but 0: scripts and tests that must leave no files
// behind turn side files off with it.
bool sideFilesWanted();

// The folder side files go in: $XDG_CACHE_HOME/qel, else ~/.cache/qel; empty when neither is known.
std::string sideFileFolder();
// The side file of the dictionary at `dictionaryPath` (made absolute) in `folder`.
std::string sideFilePath(const std::string& folder, const std::string& dictionaryPath);

// kUnwritten: the folder refused the file; kNone: the dictionary is invalid or changed. Searches
// then decode the dictionary as before.
enum class SideFileUse { kMapped, kMade, kUnwritten, kNone };
// Gives `dictionary` the side file in `folder` as the source of its decoded sections, made first
// when there is none that fits.
SideFileUse useDecodedSideFile(Dictionary& dictionary, const std::string& folder);

// Makes the side file of the dictionary just written at `dictionaryPath`, so that its first search
// maps it as later ones do: every program that writes a dictionary calls this as it finishes.
// Quietly does nothing when side files are off, the folder refuses them or the file is invalid.
void prepareSideFile(const std::string& dictionaryPath);

}  // namespace qel
