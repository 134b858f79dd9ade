// Printed results on real PDF printers: the margins where the settings put them, the pages the
// pagination promises, and the print preview window with its page texts and its
// choice between all and selected results.
#include <QAction>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "common/qt/SettingsStore.h"
#include "search/ResultList.h"
#include "search/qt/QELPrintPreview.h"
#include "search/qt/QELPrintout.h"
#include "support/PdfPages.h"

namespace qel {
namespace {

// An A4 PDF printer at 1200 dots per inch, printing from the paper's corner.
std::unique_ptr<QPrinter> pdfPrinter(const QString& path) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(path);
  printer->setPageSize(QPageSize(QPageSize::A4));
  printer->setFullPage(true);
  return printer;
}

std::unique_ptr<QELPrintout> printoutOf(const ResultList& results) {
  auto printout = std::make_unique<QELPrintout>(results, "words");
  QFont font("DejaVu Sans Mono");
  font.setPixelSize(13);
  printout->setFont(font, Qt::black);
  return printout;
}

void fill(ResultList& results, int count) {
  for (int i = 0; i < count; ++i) {
    // Widths vary, so that pages differ in their columns.
    results.add("word" + std::to_string(i) + std::string(i % 17, 'x'), "", "", 0);
  }
}

}  // namespace

class QELPrintoutTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir m_dir;

 private slots:
  void oneInchMarginsPrintOneInchFromThePaperEdges_data() {
    QTest::addColumn<int>("units");
    QTest::addColumn<int>("margin");
    QTest::newRow("thousandths of an inch") << int{kThousandthsOfAnInch} << 1000;
    QTest::newRow("hundredths of a millimetre") << int{kHundredthsOfAMillimetre} << 2540;
  }
  void oneInchMarginsPrintOneInchFromThePaperEdges() {
    QFETCH(int, units);
    QFETCH(int, margin);
    ResultList results;
    fill(results, 10);
    const auto printer = pdfPrinter(m_dir.filePath("margins.pdf"));
    const auto printout = printoutOf(results);
    printout->setMargins(PrintingMargins{units, margin, margin, margin, margin});
    QCOMPARE(printout->paginate(*printer), 1);
    const int inch = printer->resolution();
    QCOMPARE(inch, 1200);
    const QRect paper = printer->paperRect(QPrinter::DevicePixel).toRect();
    // A PDF page can be printed to its edges: the offsets are the margins themselves.
    QCOMPARE(printout->leftOffset(), inch);
    QCOMPARE(printout->topOffset(), inch);
    QCOMPARE(printout->printableWidth(), paper.width() - 2 * inch);
    QCOMPARE(printout->linesPerPage(), (paper.height() - 2 * inch) / printout->lineHeight());
    // The font is the screen's 13 pixels at the printer's resolution.
    QCOMPARE(printout->printerFont().pixelSize(), qRound(13.0 * inch / 96.0));
    QVERIFY(printout->print(*printer));
    QCOMPARE(test::pdfPageCount(m_dir.filePath("margins.pdf")), 1);
  }

  // The file has the pages the pagination counted, and a range prints only those pages.
  void thePdfHasThePagesOfThePagination() {
    ResultList results;
    fill(results, 2000);
    const QString all = m_dir.filePath("all.pdf");
    const auto printer = pdfPrinter(all);
    const auto printout = printoutOf(results);
    const int pages = printout->paginate(*printer);
    QVERIFY(pages >= 4);
    QCOMPARE(printout->pages().back().end >= 2000, true);
    QVERIFY(printout->print(*printer));
    QCOMPARE(test::pdfPageCount(all), pages);

    const QString some = m_dir.filePath("some.pdf");
    printer->setOutputFileName(some);
    QVERIFY(printout->print(*printer, 2, 3));
    QCOMPARE(test::pdfPageCount(some), 2);
    // Cancelled after the first page: the print reports it.
    printer->setOutputFileName(m_dir.filePath("cancelled.pdf"));
    QVERIFY(!printout->print(*printer, 0, 0, [](int, int) { return false; }));
  }

  void thePreviewTurnsPagesAndSwitchesBetweenAllAndSelectedResults() {
    QTemporaryDir settingsFolder;
    QSettings settings(settingsFolder.filePath("settings.ini"), QSettings::IniFormat);
    SettingsStore store(settings);
    ResultList results;
    fill(results, 2000);
    results.selection().setRange(10, 11, true);
    const auto printer = pdfPrinter(m_dir.filePath("preview.pdf"));
    auto printout = printoutOf(results);
    printout->setSelectionFlag(true);
    QELPrintPreview preview(std::move(printout), *printer, store);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QCOMPARE(preview.objectName(), QString("QELPrintPreview"));
    // Two selected: the preview starts with them, on one page.
    QVERIFY(preview.selectedResultsAction()->isChecked());
    QTRY_COMPARE(preview.pageCount(), 1);
    QCOMPARE(preview.pageText(), QString("Page 1 of 1"));
    QVERIFY(!preview.nextAction()->isEnabled());

    preview.allResultsAction()->trigger();
    QTRY_VERIFY(preview.pageCount() >= 4);
    const int count = preview.pageCount();
    QCOMPARE(preview.findChild<QLabel*>("pageText")->text(), QString("Page 1 of %1").arg(count));
    QVERIFY(!preview.previousAction()->isEnabled());
    QTest::keyClick(&preview, Qt::Key_PageDown);
    QTRY_COMPARE(preview.currentPage(), 2);
    QCOMPARE(preview.pageText(), QString("Page 2 of %1").arg(count));
    preview.twoPagesAction()->trigger();
    QTRY_COMPARE(preview.pageText(), QString("Page 2 - 3"));
    preview.nextAction()->trigger();
    QTRY_COMPARE(preview.pageText(), QString("Page 4 - 5"));
    preview.previousAction()->trigger();
    QTRY_COMPARE(preview.currentPage(), 2);

    // The print button asks for the pages that show.
    QList<QPair<int, int>> asked;
    connect(&preview, &QELPrintPreview::printRequested, this, [&asked](int first, int last) {
      asked.append({first, last});
    });
    preview.printAction()->trigger();
    QCOMPARE(asked, (QList<QPair<int, int>>{{2, 3}}));
  }

  void selectedResultsCannotBeChosenWithoutASelection() {
    QTemporaryDir settingsFolder;
    QSettings settings(settingsFolder.filePath("settings.ini"), QSettings::IniFormat);
    SettingsStore store(settings);
    ResultList results;
    fill(results, 5);
    const auto printer = pdfPrinter(m_dir.filePath("none.pdf"));
    QELPrintPreview preview(printoutOf(results), *printer, store);
    QVERIFY(preview.allResultsAction()->isChecked());
    QVERIFY(!preview.selectedResultsAction()->isEnabled());
  }
};

}  // namespace qel

QTEST_MAIN(qel::QELPrintoutTest)
#include "QELPrintoutTest.moc"
