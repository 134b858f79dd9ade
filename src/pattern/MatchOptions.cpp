// The exclusive-letter-variables option, on unless the settings switch it off.
#include "pattern/MatchOptions.h"

namespace qel {
namespace {
bool g_exclusiveVariables = true;
}  // namespace

bool exclusiveLetterVariables() { return g_exclusiveVariables; }

void setExclusiveLetterVariables(bool exclusive) { g_exclusiveVariables = exclusive; }

}  // namespace qel
