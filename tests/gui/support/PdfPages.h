// The number of pages of a PDF file, read from its page objects.
#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QString>

namespace qel::test {

inline int pdfPageCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QString bytes = QString::fromLatin1(file.readAll());
  static const QRegularExpression kPage(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
  return static_cast<int>(bytes.count(kPage));
}

}  // namespace qel::test
