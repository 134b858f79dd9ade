// The print and page setup dialogs behind one small interface: tests answer them in advance
// instead of blocking on a modal dialog.
#pragma once

class QPrinter;
class QWidget;

namespace qel {

class PrintDialogs {
 public:
  virtual ~PrintDialogs() = default;
  // The print dialog over `printer`, offering pages 1 to `pageCount` and, when
  // `selectionAvailable`, the selected results; the choice (printer, range, copies, file) is left
  // in `printer`. False when cancelled.
  virtual bool print(QWidget* parent, QPrinter& printer, int pageCount,
                     bool selectionAvailable) = 0;
  // The page setup dialog over `printer`: paper, orientation and margins are left in it. False
  // when cancelled.
  virtual bool pageSetup(QWidget* parent, QPrinter& printer) = 0;

  // The dialogs in use: the real ones unless a test installed its own.
  static PrintDialogs& current();
  static void install(PrintDialogs* dialogs);  // null restores the real dialogs
};

}  // namespace qel
