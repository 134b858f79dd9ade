// The text pane of a definition window: one definition body, its highlights, and the word a
// lookup from the text takes.
#pragma once

#include <QTextBrowser>
#include <string>
#include <string_view>
#include <vector>

#include "definitions/DefinitionHighlights.h"
#include "definitions/qt/DefinitionSource.h"

namespace qel {

class DefinitionRichEdit : public QTextBrowser {
  Q_OBJECT

 public:
  explicit DefinitionRichEdit(QWidget* parent = nullptr);

  // Shows a body in the look's font and background; a non-empty `boldHeading` goes in front,
  // bold and underlined (for a definition without headings of its own).
  void display(std::string_view body, const DefinitionLook& look,
               const std::string& boldHeading = {});
  // Applies the highlight to each range and shows the first one.
  void highlight(const std::vector<TextRange>& ranges, const QTextCharFormat& format);
  // The ranges highlighted since the text was last displayed.
  const std::vector<TextRange>& highlights() const { return m_highlights; }
  // The text in code page 1252, a byte for each position, for working out highlights.
  std::string positionText() const;

  // What a lookup from the text takes: the selection, or else the underlined run at the caret
  // (a phrase with its blanks, as it is underlined) or the run of letters and digits there.
  // Empty when there is none.
  QString lookupText() const;

 signals:
  // The shortcut menu was asked for; the caret was put at the pointer unless it is over the
  // selection.
  void menuRequested(QPoint globalPos);

 protected:
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool underlinedAt(int position) const;
  bool blankAt(int position) const;

  std::vector<TextRange> m_highlights;
};

}  // namespace qel
