// The main window's output commands end to end: Save Results as text or as a dictionary by the
// type chosen, Print with its selection rule into PDF files, Print Preview, and Page Setup with
// the margins kept in the settings; and a real search of the default dictionary saved and printed.
#include <sys/resource.h>

#include <QDir>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <algorithm>
#include <csignal>

#include "app/WindowSettings.h"
#include "maintenance/qt/QCDictionarySaveDialog.h"
#include "search/qt/QELPrintPreview.h"
#include "support/MainWindowFixture.h"
#include "support/PdfPages.h"
#include "support/RecordingPrintDialogs.h"
#include "support/TestDictionaries.h"

namespace qel {
namespace {

using Fixture = test::MainWindowFixture;
using test::WindowInput;

const ResultList& activeResults(Fixture& f) {
  return f.view().session()->pane(f.view().activePane()).results;
}

// Save (Ctrl+S) as the type given (1: a dictionary, whose save dialog `look` sees before its Save
// is clicked).
void saveAs(Fixture& f, const QString& name, int type,
            const std::function<void(QCDictionarySaveDialog*)>& look = nullptr) {
  f.prompts.chosenSaveNames = {name};
  f.prompts.chosenSaveType = type;
  if (type == 1) {
    test::whenShown<QCDictionarySaveDialog>([look](QCDictionarySaveDialog* dialog) {
      if (look) look(dialog);
      WindowInput::click(dialog->saveButton());
    });
  }
  f.input.key(Qt::Key_S, Qt::ControlModifier);
  if (type == 1) f.reactivate();
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
    Fixture f({QString::fromStdString(m_annotated)});
    f.search("*");
    QCOMPARE(activeResults(f).count(), 3L);
    const QString bare = f.fresh.folder.filePath("results");

    saveAs(f, bare, 0);
    QCOMPARE(f.prompts.offeredSaveType, 0);
    QCOMPARE(QString::fromStdString(test::readFile((bare + ".txt").toStdString())),
             QString("Hi-fi stereo\ntail\ndotting (verb)\n"));

    QString shownFile, shownDescription;
    saveAs(f, bare, 1, [&](QCDictionarySaveDialog* dialog) {
      shownFile = dialog->fileEdit()->text();
      shownDescription = dialog->descriptionEdit()->toPlainText();
    });
    QCOMPARE(shownFile, bare + ".qcd");
    QCOMPARE(shownDescription, QString("*"));

    f.prompts.chosenSaveNames = {};
    f.prompts.chosenSaveType = -1;
    f.input.key(Qt::Key_S, Qt::ControlModifier);  // cancelled
    QCOMPARE(f.prompts.offeredSaveType, 1);

    Fixture saved({bare + ".qcd"});
    saved.search("*");
    QCOMPARE(saved.results(0), f.results(0));
    QCOMPARE(std::string(activeResults(saved).record(2)->text()), std::string("dotting (verb)"));
  }

  // Phrase anagrams, whatever was searched before them, are saved as a dictionary of phrases,
  // each combination an entry.
  void phraseAnagramsAreSavedAsADictionaryOfPhrases() {
    const std::string words = m_dir.file("anagram-words.qcd");
    QVERIFY(test::buildTestDictionary(words, {"dirty", "room", "dormitory", "moor", "tidy"}));
    Fixture f({QString::fromStdString(words)});
    f.search("....");  // a word search of another length first
    WindowInput::click(f.view().patternBox());
    f.input.key(Qt::Key_G, Qt::ControlModifier);
    f.input.retype("dormitory");
    f.input.key(Qt::Key_Return);
    QTRY_COMPARE(f.results(0), QStringList({"dormitory", "dirty moor", "dirty room"}));
    const QString saved = f.fresh.folder.filePath("phrases.qcd");
    saveAs(f, saved, 1);
    std::vector<std::string> entries = test::entryTexts(saved.toStdString());
    std::sort(entries.begin(), entries.end());
    QCOMPARE(entries, (std::vector<std::string>{"dirty moor", "dirty room", "dormitory"}));
  }

  // Results saved over the dictionary they came from rebuild it in place: its old contents stay
  // in its ".bak" file and the window goes on with the new ones.
  void savingOverTheOpenDictionaryRebuildsItInPlace() {
    test::TempDir folder;
    const QString path = QString::fromStdString(folder.file("words.qcd"));
    QVERIFY(test::buildTestDictionary(path.toStdString(), {"dotting+(verb)", "tail", "toil"}));
    const std::string old = test::readFile(path.toStdString());
    Fixture f({path});
    f.search("t*");
    QCOMPARE(activeResults(f).count(), 2L);
    f.prompts.question = UserPrompts::Answer::kYes;  // replace it
    saveAs(f, path, 1);
    QCOMPARE(test::readFile(folder.file("words.bak")), old);
    f.search("*");
    QCOMPARE(f.results(0), QStringList({"tail", "toil"}));
    QCOMPARE(f.prompts.shown,
             (QStringList{"Save Results",
                          "!Save As: " + path + " already exists.\nDo you want to replace it?"}));
  }

  // One selected result prints every result, unless the print dialog asks for the selection; two
  // selected print only those. The margins leave room for one item a page, so the file's pages
  // count the items printed.
  void theSelectionDecidesWhatPrints() {
    Fixture f({QString::fromStdString(m_annotated)}, [](SettingsStore& store) {
      writePrintingMargins(store, {kThousandthsOfAnInch, 4000, 6000, 4000, 5600});
    });
    const QString pdf = f.fresh.folder.filePath("printed.pdf");
    test::RecordingPrintDialogs dialogs(pdf);
    dialogs.choose = [](QPrinter& printer) { printer.setPageSize(QPageSize(QPageSize::A4)); };
    f.search("*");
    f.inMenu('f', [&] {
      QVERIFY(f.window.action(Command::kPrint)->isEnabled());
      QVERIFY(f.window.action(Command::kPrintPreview)->isEnabled());
      QVERIFY(f.window.action(Command::kPageSetup)->isEnabled());
    });

    f.clickResult(0, 1);
    f.input.key(Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(dialogs.offeredRange, QPrinter::AllPages);
    QVERIFY(dialogs.offeredSelection);
    QCOMPARE(test::pdfPageCount(pdf), 3);

    const auto chooseSelection = dialogs.choose;
    dialogs.choose = [chooseSelection](QPrinter& printer) {
      chooseSelection(printer);
      printer.setPrintRange(QPrinter::Selection);
    };
    f.input.key(Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(test::pdfPageCount(pdf), 1);

    dialogs.choose = chooseSelection;
    f.clickResult(0, 0, Qt::ShiftModifier);
    QCOMPARE(activeResults(f).selection().selectedCount(), 2L);
    f.input.key(Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(dialogs.offeredRange, QPrinter::Selection);
    QCOMPARE(test::pdfPageCount(pdf), 2);
    QCOMPARE(dialogs.printCalls, 3);
    QCOMPARE(f.prompts.shown, QStringList());
  }

  // A PDF that cannot be written whole (a file size limit stands in for a full disk) leaves the
  // old file as it was, nothing beside it, and says so.
  void aPdfCutShortLeavesTheOldFile() {
    Fixture f({QString::fromStdString(m_annotated)});
    const QString pdf = f.fresh.folder.filePath("kept.pdf");
    test::writeFile(pdf.toStdString(), "the old printout");
    test::RecordingPrintDialogs dialogs(pdf);
    f.search("*");
    f.clickResult(0, 0);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 600;
    setrlimit(RLIMIT_FSIZE, &small);
    f.input.key(Qt::Key_P, Qt::ControlModifier);
    setrlimit(RLIMIT_FSIZE, &old);
    QCOMPARE(test::readFile(pdf.toStdString()), std::string("the old printout"));
    QVERIFY(!f.prompts.shown.isEmpty());
    QVERIFY2(f.prompts.shown.last().startsWith("Print: The results couldn't be printed to\n" + pdf),
             qPrintable(f.prompts.shown.last()));
    for (const QString& name : QDir(f.fresh.folder.path()).entryList(QDir::Hidden | QDir::Files))
      QVERIFY2(!name.endsWith(".tmp"), qPrintable(name));
  }

  void thePreviewPrintsThePageItShows() {
    Fixture f({QString::fromStdString(m_annotated)});
    test::RecordingPrintDialogs dialogs(f.fresh.folder.filePath("preview.pdf"));
    f.search("*");
    f.input.menu('f', 'v');
    QELPrintPreview* preview = nullptr;
    QTRY_VERIFY((preview = f.window.printPreviewWindow()));
    QVERIFY(QTest::qWaitForWindowActive(preview));
    QCOMPARE(preview->windowModality(), Qt::WindowModal);
    QCOMPARE(preview->windowTitle(), QString("annotated - Print Preview"));
    QTRY_COMPARE(preview->pageText(), QString("Page 1 of 1"));
    // At its first size every item of the tool bar shows, none behind an overflow button.
    const QToolBar* bar = preview->findChild<QToolBar*>();
    for (QAction* item : bar->actions()) {
      QVERIFY2(item->isSeparator() || bar->widgetForAction(item)->isVisible(),
               qPrintable(item->text()));
    }
    WindowInput::click(preview->findChild<QToolBar*>()->widgetForAction(preview->printAction()));
    QCOMPARE(dialogs.offeredRange, QPrinter::PageRange);
    QCOMPARE(dialogs.offeredFrom, 1);
    QCOMPARE(dialogs.offeredTo, 1);
    QCOMPARE(test::pdfPageCount(dialogs.pdf), 1);
    f.input.key(Qt::Key_Escape);
    QTRY_VERIFY(!f.window.printPreviewWindow());
  }

  // A preview of many pages shows its progress while it lays them out; Cancel closes it.
  void aLongPreviewShowsProgressAndCancels() {
    test::TempDir folder;
    std::vector<std::string> words;
    for (int i = 0; i < 60000; ++i) words.push_back("w" + std::to_string(i * 7919) + "x");
    const std::string path = folder.file("many.qcd");
    QVERIFY(test::buildTestDictionary(path, words));
    Fixture f({QString::fromStdString(path)});
    test::RecordingPrintDialogs dialogs(f.fresh.folder.filePath("unused.pdf"));
    f.search("*");
    bool progressShown = false;
    test::whenShown<QProgressDialog>([&](QProgressDialog* progress) {
      progressShown = progress->labelText().startsWith("Preparing the preview of");
      progress->cancel();
    });
    f.input.menu('f', 'v');
    QVERIFY(progressShown);
    QTRY_VERIFY(!f.window.printPreviewWindow());
  }

  // The dialog starts at the stored margins; what it gives is stored in its own units.
  void pageSetupKeepsTheMarginsInTheSettings() {
    Fixture f({});
    test::RecordingPrintDialogs dialogs(f.fresh.folder.filePath("unused.pdf"));
    dialogs.choose = [](QPrinter& printer) {
      printer.setPageMargins(QMarginsF(20, 15, 20, 25), QPageLayout::Millimeter);
    };
    f.input.menu('f', 'u');
    QTRY_COMPARE(dialogs.pageSetupCalls, 1);
    QCOMPARE(dialogs.offeredLayout.units(), QPageLayout::Inch);
    QCOMPARE(dialogs.offeredLayout.margins(), QMarginsF(1, 1, 1, 1));
    QCOMPARE(readPrintingMargins(f.fresh.store),
             (PrintingMargins{kHundredthsOfAMillimetre, 2000, 1500, 2000, 2500}));
    dialogs.accept = false;  // cancelled: nothing changes
    dialogs.choose = nullptr;
    f.input.menu('f', 'u');
    QTRY_COMPARE(dialogs.pageSetupCalls, 2);
    QCOMPARE(readPrintingMargins(f.fresh.store),
             (PrintingMargins{kHundredthsOfAMillimetre, 2000, 1500, 2000, 2500}));
    QCOMPARE(dialogs.offeredLayout.units(), QPageLayout::Millimeter);
    QCOMPARE(dialogs.offeredLayout.margins(), QMarginsF(20, 15, 20, 25));
  }

  // ";..oting" on the default dictionary, saved as a dictionary, is exactly those results; printed,
  // the file has the pages the pagination counted.
  void aRealSearchSavedAndPrinted() {
    const QString dictionary = defaultDictionary();
    if (dictionary.isEmpty()) QSKIP("the default dictionary has not been built");
    Fixture f({dictionary});
    f.search(";..oting");
    const QStringList found = f.results(0);
    QVERIFY(found.size() > 100);
    QCOMPARE(std::string(activeResults(f).record(0)->text()), std::string("agonist +as"));

    const QString target = f.fresh.folder.filePath("oting.qcd");
    saveAs(f, target, 1);
    QCOMPARE(f.prompts.shown, QStringList{"Save Results"});
    QVERIFY(!QFileInfo::exists(f.fresh.folder.filePath("oting.bak")));

    test::RecordingPrintDialogs dialogs(f.fresh.folder.filePath("oting.pdf"));
    f.input.key(Qt::Key_P, Qt::ControlModifier);
    QVERIFY(dialogs.offeredPages >= 1);
    QCOMPARE(test::pdfPageCount(dialogs.pdf), dialogs.offeredPages);

    Fixture saved({target});
    saved.search("*");
    QCOMPARE(saved.results(0), found);
    QCOMPARE(activeResults(saved).record(0)->text(), activeResults(saved).record(0)->entry());
  }
};

}  // namespace qel

QTEST_MAIN(qel::QELFrameWindowOutputTest)
#include "QELFrameWindowOutputTest.moc"
