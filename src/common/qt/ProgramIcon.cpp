#include "common/qt/ProgramIcon.h"

#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

namespace qel {
namespace {

// Drawn on a 64-unit square, as packaging/qel.svg draws it.
QPixmap drawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(size / 64.0, size / 64.0);
  const QColor ink(0x1d, 0x35, 0x57);
  p.setPen(QPen(ink, 3));
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 6, 6);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  for (const QRectF& black :
       {QRectF(22, 22, 20, 20), QRectF(42, 42, 19, 19), QRectF(2, 42, 20, 19)})
    p.drawRect(black);
  p.setPen(QPen(ink, 2));
  for (int at : {22, 42}) {
    p.drawLine(at, 2, at, 62);
    p.drawLine(2, at, 62, at);
  }
  QFont font("DejaVu Sans");
  font.setPixelSize(15);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(0xe6, 0x39, 0x46));
  p.drawText(QRectF(2, 2, 20, 20), Qt::AlignCenter, "Q");
  font.setPixelSize(13);
  font.setBold(false);
  p.setFont(font);
  p.setPen(ink);
  p.drawText(QRectF(22, 2, 20, 20), Qt::AlignCenter, "E");
  p.drawText(QRectF(42, 2, 20, 20), Qt::AlignCenter, "L");
  return pixmap;
}

}  // namespace

// Drawn once: the application and the main window both ask for it at start.
QIcon programIcon() {
  static const QIcon icon = [] {
    QIcon drawn;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) drawn.addPixmap(drawIcon(size));
    return drawn;
  }();
  return icon;
}

void setUpProgramIdentity(const char* desktopFileName) {
  QGuiApplication::setWindowIcon(programIcon());
  QGuiApplication::setDesktopFileName(QString::fromLatin1(desktopFileName));
}

}  // namespace qel
