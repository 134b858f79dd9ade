// Definition bodies as Qt text documents: plain or rich text, in the definition font, with web
// and mail addresses made into links.
#pragma once

#include <QString>
#include <QTextCharFormat>
#include <string>
#include <string_view>

class QTextDocument;

namespace qel {

struct FontSetting;

// The character format of a stored font: face, size, weight, italic, underline, strike-out and
// the text colour.
QTextCharFormat charFormatOf(const FontSetting& font);

// Replaces the document's text by the body: rich text when it opens with "{\rtf", otherwise as it
// stands; every character in `base`, over which rich text lays its own bold, italic, underline,
// faces, sizes and colours. Addresses ("https://...", "www....", "mailto:...") become links.
void loadBody(QTextDocument& document, std::string_view body, const QTextCharFormat& base);

// The document's text as code page 1252, one byte for each position of the document (paragraph
// ends become line feeds; a character code page 1252 lacks becomes "?"), for the highlights.
std::string positionText(const QTextDocument& document);

}  // namespace qel
