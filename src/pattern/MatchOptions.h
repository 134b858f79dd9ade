// Process-wide matching option: whether two different letter variables may stand for the same
// letter. Set from the settings before a search; read at the start of every match.
#pragma once

namespace qel {

bool exclusiveLetterVariables();
void setExclusiveLetterVariables(bool exclusive);

}  // namespace qel
