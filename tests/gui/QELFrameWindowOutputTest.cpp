// The main window's output commands end to end: Save Results as text or as a dictionary by the
// type chosen, Print with its selection rule into PDF files, Print Preview, and Page Setup with
// the margins kept in the settings; and a real search of the default dictionary saved and printed.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/WindowSettings.h"
#include "app/qt/QELFrameWindow.h"
#include "app/qt/SettingsStore.h"
#include "maintenance/qt/QCDictionarySaveDialog.h"
#include "search/qt/QELPrintPreview.h"
#include "search/qt/QELViewWindows.h"
#include "support/PdfPages.h"
#include "support/RecordingPrintDialogs.h"
#include "support/FreshSettings.h"
#include "support/RecordingPrompts.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using test::FreshSettings;

void search(QELFrameWindow& window, const QString& pattern) {
  window.view()->setPatternAndSearch(pattern);
  QTRY_VERIFY_WITH_TIMEOUT(window.view()->state() == SearchState::Ready, 20000);
  window.updateCommands();
}

const ResultList& activeResults(const QELFrameWindow& window) {
  return window.view()->session()->pane(window.view()->activePane()).results;
}

std::vector<std::string> entries(const ResultList& results) {
  std::vector<std::string> texts;
  for (long i = 0; i < results.count(); ++i) texts.emplace_back(results.record(i)->entry());
  return texts;
}

// Does `act` with the dictionary save dialog once it shows (it is modal).
void whenTheSaveDialogShows(const std::function<void(QCDictionarySaveDialog&)>& act) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
    if (auto* dialog = qobject_cast<QCDictionarySaveDialog*>(QApplication::activeModalWidget())) {
      poll->stop();
      poll->deleteLater();
      act(*dialog);
    }
  });
  poll->start(10);
}

QString defaultDictionary() {
  const QString path = QCoreApplication::applicationDirPath() + "/../Dictionaries/Devuduvodi.qcd";
  return QFileInfo::exists(path) ? path : QString();
}

}  // namespace

class QELFrameWindowOutputTest : public QObject {
  Q_OBJECT

 private:
  test::TempDir m_dir;
  std::string m_annotated;

 private slots:
  void initTestCase() {
    m_annotated = m_dir.file("annotated.qcd");
    QVERIFY(test::buildTestDictionary(m_annotated, {"dotting+(verb)", "tail", "Hi-fi+stereo"}));
  }

  // The type chosen decides: a bare name gets ".txt" and a text file, or ".qcd" and the
  // dictionary save dialog; the next save offers the type used last.
  void resultsAreSavedByTheTypeChosen() {
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {QString::fromStdString(m_annotated)});
    search(window, "*");
    QCOMPARE(activeResults(window).count(), 3L);
    const QString bare = fresh.folder.filePath("results");

    prompts.chosenSaveNames = {bare};
    prompts.chosenSaveType = 0;
    window.saveResults();
    QCOMPARE(prompts.offeredSaveType, 0);
    QCOMPARE(QString::fromStdString(test::readFile((bare + ".txt").toStdString())),
             QString("Hi-fi stereo\ntail\ndotting (verb)\n"));

    prompts.chosenSaveNames = {bare};
    prompts.chosenSaveType = 1;
    QString shownFile, shownDescription;
    whenTheSaveDialogShows([&](QCDictionarySaveDialog& dialog) {
      shownFile = dialog.fileEdit()->text();
      shownDescription = dialog.descriptionEdit()->toPlainText();
      QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    });
    window.saveResults();
    QCOMPARE(shownFile, bare + ".qcd");
    QCOMPARE(shownDescription, QString("*"));
    QELFrameWindow saved(fresh.store, fresh.folder.path(), {bare + ".qcd"});
    search(saved, "*");
    QCOMPARE(entries(activeResults(saved)), entries(activeResults(window)));
    QCOMPARE(std::string(activeResults(saved).record(2)->text()), std::string("dotting (verb)"));

    prompts.chosenSaveNames = {};
    prompts.chosenSaveType = -1;
    window.saveResults();  // cancelled
    QCOMPARE(prompts.offeredSaveType, 1);
  }

  // Results saved over the dictionary they came from rebuild it in place: its old contents stay
  // in its ".bak" file and the window goes on with the new ones.
  void savingOverTheOpenDictionaryRebuildsItInPlace() {
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    const QString path = fresh.folder.filePath("words.qcd");
    QVERIFY(test::buildTestDictionary(path.toStdString(), {"dotting+(verb)", "tail", "toil"}));
    const std::string old = test::readFile(path.toStdString());
    QELFrameWindow window(fresh.store, fresh.folder.path(), {path});
    search(window, "t*");
    QCOMPARE(activeResults(window).count(), 2L);
    prompts.chosenSaveNames = {path};
    prompts.chosenSaveType = 1;
    whenTheSaveDialogShows([](QCDictionarySaveDialog& dialog) {
      QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    });
    window.saveResults();
    QCOMPARE(test::readFile(fresh.folder.filePath("words.bak").toStdString()), old);
    search(window, "*");
    QCOMPARE(entries(activeResults(window)), (std::vector<std::string>{"tail", "toil"}));
    QCOMPARE(prompts.shown, QStringList{"Save Results"});
  }

  // One selected result prints every result, unless the print dialog asks for the selection; two
  // selected print only those. The margins leave room for one item a page, so the file's pages
  // count the items printed.
  void theSelectionDecidesWhatPrints() {
    FreshSettings fresh;
    writePrintingMargins(fresh.store, {kThousandthsOfAnInch, 4000, 6000, 4000, 5600});
    test::RecordingPrompts prompts;
    const QString pdf = fresh.folder.filePath("printed.pdf");
    test::RecordingPrintDialogs dialogs(pdf);
    dialogs.choose = [](QPrinter& printer) { printer.setPageSize(QPageSize(QPageSize::A4)); };
    QELFrameWindow window(fresh.store, fresh.folder.path(), {QString::fromStdString(m_annotated)});
    search(window, "*");
    QVERIFY(window.action(Command::kPrint)->isEnabled());
    QVERIFY(window.action(Command::kPrintPreview)->isEnabled());
    QVERIFY(window.action(Command::kPageSetup)->isEnabled());
    ResultSelection& selection = const_cast<ResultList&>(activeResults(window)).selection();

    selection.selectOnly(1);
    window.printResults();
    QCOMPARE(dialogs.offeredRange, QPrinter::AllPages);
    QVERIFY(dialogs.offeredSelection);
    QCOMPARE(test::pdfPageCount(pdf), 3);

    const auto chooseSelection = dialogs.choose;
    dialogs.choose = [chooseSelection](QPrinter& printer) {
      chooseSelection(printer);
      printer.setPrintRange(QPrinter::Selection);
    };
    window.printResults();
    QCOMPARE(test::pdfPageCount(pdf), 1);

    dialogs.choose = chooseSelection;
    selection.setRange(0, 1, true);
    window.printResults();
    QCOMPARE(dialogs.offeredRange, QPrinter::Selection);
    QCOMPARE(test::pdfPageCount(pdf), 2);
    QCOMPARE(dialogs.printCalls, 3);
    QCOMPARE(prompts.shown, QStringList());
  }

  void thePreviewPrintsThePageItShows() {
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    test::RecordingPrintDialogs dialogs(fresh.folder.filePath("preview.pdf"));
    QELFrameWindow window(fresh.store, fresh.folder.path(), {QString::fromStdString(m_annotated)});
    window.show();
    search(window, "*");
    window.printPreview();
    QELPrintPreview* preview = window.printPreviewWindow();
    QVERIFY(preview);
    QVERIFY(QTest::qWaitForWindowExposed(preview));
    QCOMPARE(preview->windowModality(), Qt::WindowModal);
    QCOMPARE(preview->windowTitle(), QString("annotated - Print Preview"));
    QTRY_COMPARE(preview->pageText(), QString("Page 1 of 1"));
    preview->printAction()->trigger();
    QCOMPARE(dialogs.offeredRange, QPrinter::PageRange);
    QCOMPARE(dialogs.offeredFrom, 1);
    QCOMPARE(dialogs.offeredTo, 1);
    QCOMPARE(test::pdfPageCount(dialogs.pdf), 1);
    preview->close();
    QTRY_VERIFY(!window.printPreviewWindow());
  }

  // The dialog starts at the stored margins; what it gives is stored in its own units.
  void pageSetupKeepsTheMarginsInTheSettings() {
    FreshSettings fresh;
    test::RecordingPrintDialogs dialogs(fresh.folder.filePath("unused.pdf"));
    dialogs.choose = [](QPrinter& printer) {
      printer.setPageMargins(QMarginsF(20, 15, 20, 25), QPageLayout::Millimeter);
    };
    QELFrameWindow window(fresh.store, fresh.folder.path(), {});
    window.pageSetup();
    QCOMPARE(dialogs.offeredLayout.units(), QPageLayout::Inch);
    QCOMPARE(dialogs.offeredLayout.margins(), QMarginsF(1, 1, 1, 1));
    QCOMPARE(readPrintingMargins(fresh.store),
             (PrintingMargins{kHundredthsOfAMillimetre, 2000, 1500, 2000, 2500}));
    dialogs.accept = false;  // cancelled: nothing changes
    dialogs.choose = nullptr;
    window.pageSetup();
    QCOMPARE(readPrintingMargins(fresh.store),
             (PrintingMargins{kHundredthsOfAMillimetre, 2000, 1500, 2000, 2500}));
    QCOMPARE(dialogs.offeredLayout.units(), QPageLayout::Millimeter);
    QCOMPARE(dialogs.offeredLayout.margins(), QMarginsF(20, 15, 20, 25));
  }

  // ";..oting" on the default dictionary, saved as a dictionary, is exactly those results; printed,
  // the file has the pages the pagination counted.
  void aRealSearchSavedAndPrinted() {
    const QString dictionary = defaultDictionary();
    if (dictionary.isEmpty()) QSKIP("the default dictionary has not been built");
    FreshSettings fresh;
    test::RecordingPrompts prompts;
    QELFrameWindow window(fresh.store, fresh.folder.path(), {dictionary});
    search(window, ";..oting");
    const std::vector<std::string> found = entries(activeResults(window));
    QVERIFY(found.size() > 100);
    QCOMPARE(std::string(activeResults(window).record(0)->text()), std::string("agonist +as"));

    const QString target = fresh.folder.filePath("oting.qcd");
    prompts.chosenSaveNames = {target};
    prompts.chosenSaveType = 1;
    whenTheSaveDialogShows([](QCDictionarySaveDialog& dialog) {
      QTest::mouseClick(dialog.saveButton(), Qt::LeftButton);
    });
    window.saveResults();
    QCOMPARE(prompts.shown, QStringList{"Save Results"});
    QVERIFY(!QFileInfo::exists(fresh.folder.filePath("oting.bak")));
    QELFrameWindow saved(fresh.store, fresh.folder.path(), {target});
    search(saved, "*");
    QCOMPARE(entries(activeResults(saved)), found);
    QCOMPARE(activeResults(saved).record(0)->text(), activeResults(saved).record(0)->entry());

    test::RecordingPrintDialogs dialogs(fresh.folder.filePath("oting.pdf"));
    window.printResults();
    QVERIFY(dialogs.offeredPages >= 1);
    QCOMPARE(test::pdfPageCount(dialogs.pdf), dialogs.offeredPages);
  }
};

}  // namespace qel

QTEST_MAIN(qel::QELFrameWindowOutputTest)
#include "QELFrameWindowOutputTest.moc"
