#include "search/FullTextCursor.h"

#include "dictionary/Definition.h"
#include "dictionary/QCDictionaryList.h"
#include "search/QCDictionaryDefinitionSearchIndexed.h"
#include "search/QCDictionaryDefinitionSearchSequential.h"

namespace qel {

std::unique_ptr<FullTextCursor> FullTextCursor::create(const QCDictionaryList& list, int dictionary,
                                                       MatchEngineSet& patterns, int64_t* stamp,
                                                       bool withoutIndex) {
  const Dictionary& d = list.dictionary(dictionary);
  if (!d.valid() || d.version() < 1 || d.region1Start() >= d.definitionsEnd()) return nullptr;
  std::unique_ptr<FullTextCursor> cursor(new FullTextCursor);
  if (!withoutIndex) {
    cursor->m_indexed =
        std::make_unique<QCDictionaryDefinitionSearchIndexed>(list, dictionary, patterns, stamp);
  }
  if (!cursor->m_indexed || !cursor->m_indexed->usable()) {
    cursor->m_indexed.reset();
    cursor->m_sequential =
        std::make_unique<QCDictionaryDefinitionSearchSequential>(list, dictionary, patterns, stamp);
  }
  return cursor;
}

FullTextCursor::~FullTextCursor() = default;

FullTextCursor::Step FullTextCursor::next(Result& result) {
  if (m_indexed) {
    Definition definition;
    if (!m_indexed->next(definition)) return Step::Finished;
    // Headings are cut as the sequential search cuts them, so both give the same result text.
    const size_t cut = QCDictionaryDefinitionSearchSequential::kMaxHeading;
    result.entry =
        definition.firstTexts.empty() ? std::string() : definition.firstTexts[0].substr(0, cut);
    result.context =
        definition.secondTexts.empty() ? std::string() : definition.secondTexts[0].substr(0, cut);
    result.definitionNumber = static_cast<int32_t>(definition.recordOffset);
    return Step::Result;
  }
  switch (m_sequential->next(kSequentialBudget)) {
    case QCDictionaryDefinitionSearchSequential::Step::Hit:
      result.entry = m_sequential->heading();
      result.context = m_sequential->secondHeading();
      result.definitionNumber = static_cast<int32_t>(m_sequential->recordOffset());
      return Step::Result;
    case QCDictionaryDefinitionSearchSequential::Step::BudgetUsed:
      return Step::Progress;
    case QCDictionaryDefinitionSearchSequential::Step::Finished:
      break;
  }
  return Step::Finished;
}

long FullTextCursor::position() const {
  return m_indexed ? static_cast<long>(m_indexed->position())
                   : static_cast<long>(m_sequential->position());
}

long FullTextCursor::total() const {
  return m_indexed ? static_cast<long>(m_indexed->total())
                   : static_cast<long>(m_sequential->total());
}

}  // namespace qel
