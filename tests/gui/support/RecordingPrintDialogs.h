// Answers the print and page setup dialogs in advance, prints to a PDF file of the test's, and
// records what the dialogs were offered.
#pragma once

#include <QPageLayout>
#include <QPrinter>
#include <QString>
#include <functional>

#include "search/qt/PrintDialogs.h"

namespace qel::test {

class RecordingPrintDialogs : public PrintDialogs {
 public:
  explicit RecordingPrintDialogs(const QString& pdfPath) : pdf(pdfPath) {
    PrintDialogs::install(this);
  }
  ~RecordingPrintDialogs() override { PrintDialogs::install(nullptr); }

  bool print(QWidget*, QPrinter& printer, int pageCount, bool selectionAvailable) override {
    ++printCalls;
    offeredPages = pageCount;
    offeredSelection = selectionAvailable;
    offeredRange = printer.printRange();
    offeredFrom = printer.fromPage();
    offeredTo = printer.toPage();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    if (choose) choose(printer);
    return accept;
  }
  bool pageSetup(QWidget*, QPrinter& printer) override {
    ++pageSetupCalls;
    offeredLayout = printer.pageLayout();
    if (choose) choose(printer);
    return accept;
  }

  QString pdf;
  bool accept = true;
  std::function<void(QPrinter&)> choose;  // what the user changes in the dialog
  int printCalls = 0;
  int pageSetupCalls = 0;
  int offeredPages = -1;
  bool offeredSelection = false;
  QPrinter::PrintRange offeredRange = QPrinter::AllPages;
  int offeredFrom = 0;
  int offeredTo = 0;
  QPageLayout offeredLayout;
};

}  // namespace qel::test
