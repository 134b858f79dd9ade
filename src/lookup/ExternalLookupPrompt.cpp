// The External Lookup prompt's message.
#include "lookup/ExternalLookupPrompt.h"

#include "app/Messages.h"

namespace qel {

std::string externalLookupPromptText(std::string_view wordUtf8, bool noDefinitions,
                                     bool noneEnabled) {
  Message message = noDefinitions ? (noneEnabled ? Message::kExternalLookupNoDefinitionsNoneEnabled
                                                 : Message::kExternalLookupNoDefinitionsQuestion)
                                  : (noneEnabled ? Message::kExternalLookupNoneEnabled
                                                 : Message::kExternalLookupQuestion);
  std::string text(messageText(messageNumber(message)));
  const size_t quotes = text.find("\"\"");
  if (quotes != std::string::npos) text.insert(quotes + 1, wordUtf8);
  return text;
}

}  // namespace qel
