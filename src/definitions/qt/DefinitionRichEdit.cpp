#include "definitions/qt/DefinitionRichEdit.h"

#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "definitions/qt/RichTextDocument.h"
#include "platform/qt/CoreText.h"

namespace qel {

DefinitionRichEdit::DefinitionRichEdit(QWidget* parent) : QTextBrowser(parent) {
  setOpenLinks(false);
  setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
  connect(this, &QTextBrowser::anchorClicked, this,
          [](const QUrl& address) { QDesktopServices::openUrl(address); });
}

void DefinitionRichEdit::display(std::string_view body, const DefinitionLook& look,
                                 const std::string& boldHeading) {
  m_highlights.clear();
  setUpdatesEnabled(false);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, look.background);
  setPalette(colours);
  loadBody(*document(), body, look.text);
  if (!boldHeading.empty()) {
    QTextCursor start(document());
    QTextCharFormat heading = look.text;
    heading.setFontWeight(QFont::Bold);
    heading.setFontUnderline(true);
    start.insertText(fromCp1252(boldHeading), heading);
    start.insertBlock(QTextBlockFormat(), look.text);
  }
  setTextCursor(QTextCursor(document()));
  setUpdatesEnabled(true);
}

void DefinitionRichEdit::highlight(const std::vector<TextRange>& ranges,
                                   const QTextCharFormat& format) {
  for (const TextRange& range : ranges) {
    QTextCursor cursor(document());
    cursor.setPosition(range.start);
    cursor.setPosition(range.end, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
  }
  m_highlights = ranges;
  if (ranges.empty()) return;
  QTextCursor first(document());
  first.setPosition(ranges.front().start);
  setTextCursor(first);
  ensureCursorVisible();
}

std::string DefinitionRichEdit::positionText() const { return qel::positionText(*document()); }

// Underlined text that is no link. Blanks count, so that an underlined phrase is one run; a
// paragraph's end never does.
bool DefinitionRichEdit::underlinedAt(int position) const {
  const QChar c = document()->characterAt(position);
  if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) return false;
  QTextCursor cursor(document());
  cursor.setPosition(position + 1);
  return cursor.charFormat().fontUnderline() && !cursor.charFormat().isAnchor();
}

bool DefinitionRichEdit::blankAt(int position) const {
  const QChar c = document()->characterAt(position);
  return c.isSpace() || c == QChar::ParagraphSeparator;
}

QString DefinitionRichEdit::lookupText() const {
  const QTextCursor caret = textCursor();
  if (caret.hasSelection()) return caret.selectedText();
  const int at = caret.position();
  const int characters = document()->characterCount() - 1;
  int start = at;
  int end = at;
  if (at < characters && underlinedAt(at)) {
    while (start > 0 && underlinedAt(start - 1)) --start;
    while (end < characters && underlinedAt(end)) ++end;
    // Blanks underlined before or after the words are no part of them.
    while (start < end && blankAt(start)) ++start;
    while (end > start && blankAt(end - 1)) --end;
  }
  if (start == end) {
    // A word never crosses a paragraph: its own is all that needs reading at every caret move.
    const QTextBlock block = caret.block();
    const TextRange word = wordAround(toCp1252(block.text()), at - block.position());
    start = block.position() + word.start;
    end = block.position() + word.end;
  }
  QTextCursor run(document());
  run.setPosition(start);
  run.setPosition(end, QTextCursor::KeepAnchor);
  return run.selectedText();
}

void DefinitionRichEdit::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Mouse) {
    const int at = cursorForPosition(event->pos()).position();
    const QTextCursor caret = textCursor();
    if (!caret.hasSelection() || at < caret.selectionStart() || at >= caret.selectionEnd()) {
      QTextCursor placed(document());
      placed.setPosition(at);
      setTextCursor(placed);
    }
  }
  emit menuRequested(event->globalPos());
  event->accept();
}

}  // namespace qel
