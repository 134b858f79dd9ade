// The inputs and output of a word-list merge: text files in the builder's line syntax (plain word
// lists among them) and dictionaries, whose entries come with their annotations and definitions.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "maintenance/WordListMerge.h"
#include "platform/Status.h"

namespace qel {

class CommonnessRanks;

// Called now and then with the share of the input read (0 to 1); false cancels the merge.
using MergeProgress = std::function<bool(double done)>;

// Adds every line of a text file (UTF-8 or code page 1252) as the next input of `merge`. A line
// that code page 1252 cannot hold is skipped and counted. A failure, in the system's words, when
// the file cannot be read, or kCancelled (the entries read so far stay).
Status mergeTextFile(WordListMerge& merge, const std::string& path, bool utf8,
                     const MergeProgress& progress);

// Adds every entry of a dictionary file, with its annotation and the bodies of its definitions,
// as the next input of `merge`, and its entries' commonness ranks to `ranks` (the commoner rank
// where inputs differ). A failure for an invalid dictionary, one that changed while it was read,
// or a cancelled merge.
Status mergeDictionary(WordListMerge& merge, const std::string& path, const MergeProgress& progress,
                       CommonnessRanks* ranks = nullptr);

// True when `path` starts like a dictionary file rather than a text file.
bool looksLikeDictionary(const std::string& path);

// Writes merged source lines as a UTF-8 text file over `path`: written beside it and put in its
// place only when complete, its previous contents kept in backupPathFor(path). A failure when the
// file cannot be written; `path` then holds what it held.
Status writeMergedText(const std::vector<std::string>& lines, const std::string& path);

}  // namespace qel
