#include "definitions/qt/RichTextDocument.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "app/SettingsFormat.h"
#include "common/qt/SettingsFonts.h"
#include "definitions/RichTextFormat.h"
#include "platform/qt/CoreText.h"

namespace qel {
namespace {

QTextCharFormat runFormat(const rtf::Run& run, const rtf::FormattedText& text,
                          const QTextCharFormat& base) {
  QTextCharFormat format = base;
  if (run.bold) format.setFontWeight(QFont::Bold);
  if (run.italic) format.setFontItalic(true);
  if (run.underline) format.setFontUnderline(true);
  if (run.font >= 0) {
    for (const rtf::FontEntry& f : text.fonts) {
      if (f.number == run.font && !f.name.empty()) {
        format.setFontFamilies({fromCp1252(f.name)});
        break;
      }
    }
  }
  if (run.halfPoints > 0) format.setFontPointSize(run.halfPoints / 2.0);
  if (run.colour > 0 && run.colour < static_cast<int>(text.colours.size())) {
    const uint32_t rgb = text.colours[run.colour];
    format.setForeground(QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
  }
  return format;
}

void linkAddresses(QTextDocument& document) {
  static const QRegularExpression address(
      QStringLiteral(R"((?:https?://|ftp://|www\.|mailto:)[^\s<>"]*[^\s<>".,;:!?)\]}'])"),
      QRegularExpression::CaseInsensitiveOption);
  for (QTextCursor found = document.find(address); !found.isNull();
       found = document.find(address, found)) {
    QString href = found.selectedText();
    if (href.startsWith(QLatin1String("www."), Qt::CaseInsensitive)) href.prepend("https://");
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(href);
    link.setFontUnderline(true);
    link.setForeground(QColor(0, 0, 238));
    found.mergeCharFormat(link);
  }
}

}  // namespace

QTextCharFormat charFormatOf(const FontSetting& font) {
  QTextCharFormat format;
  format.setFont(toQFont(font), QTextCharFormat::FontPropertiesAll);
  format.setForeground(textColour(font));
  return format;
}

void loadBody(QTextDocument& document, std::string_view body, const QTextCharFormat& base) {
  document.clear();
  const rtf::FormattedText text = rtf::formattedText(body);
  QTextCursor cursor(&document);
  cursor.setBlockCharFormat(base);
  cursor.setCharFormat(base);
  bool first = true;
  for (const rtf::Paragraph& paragraph : text.paragraphs) {
    if (!first) cursor.insertBlock(QTextBlockFormat(), base);
    first = false;
    for (const rtf::Run& run : paragraph.runs) {
      // A line break inside a paragraph stays within it.
      QString runText = fromCp1252(run.text);
      runText.replace(QLatin1Char('\n'), QChar::LineSeparator);
      cursor.insertText(runText, runFormat(run, text, base));
    }
  }
  linkAddresses(document);
}

std::string positionText(const QTextDocument& document) {
  QString text = document.toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return toCp1252(text);
}

}  // namespace qel
