// A pane's results saved as a text file: every result's stored text, one a line, in list order.
#pragma once

#include <string>

#include "platform/Status.h"

namespace qel {

class ResultList;

// Writes `results` to `path` (the texts converted from code page 1252 to UTF-8, each followed by
// `lineEnd`) through a temporary file renamed over it only when complete: on failure the old file
// is untouched and the status says why.
Status saveResultsText(const ResultList& results, const std::string& path,
                       const std::string& lineEnd);

// The name a save dialog suggests from the last one used: cut at the first "." of its last path
// component ("/a/b.c/words.list.txt" gives "/a/b.c/words").
std::string suggestedSaveName(const std::string& lastName);

// The chosen name with the extension of the chosen file type added when its last component has no
// "." ("words" with ".txt" gives "words.txt"; "words.old" stays).
std::string withDefaultExtension(const std::string& name, const std::string& extension);

}  // namespace qel
