// The real print and page setup dialogs, unless a test answers instead.
#include "search/qt/PrintDialogs.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace qel {
namespace {

class CommonDialogs : public PrintDialogs {
 public:
  bool print(QWidget* parent, QPrinter& printer, int pageCount, bool selectionAvailable) override {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, selectionAvailable);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, pageCount > 0);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setMinMax(1, std::max(pageCount, 1));
    return dialog.exec() == QDialog::Accepted;
  }
  bool pageSetup(QWidget* parent, QPrinter& printer) override {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
  }
};

CommonDialogs g_commonDialogs;
PrintDialogs* g_current = &g_commonDialogs;

}  // namespace

PrintDialogs& PrintDialogs::current() { return *g_current; }

void PrintDialogs::install(PrintDialogs* dialogs) {
  g_current = dialogs ? dialogs : &g_commonDialogs;
}

}  // namespace qel
