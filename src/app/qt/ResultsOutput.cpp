#include "app/qt/ResultsOutput.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QStorageInfo>
#include <algorithm>
#include <cmath>

#include "app/Options.h"
#include "app/WindowSettings.h"
#include "common/qt/HelpWindow.h"
#include "common/qt/SettingsFonts.h"
#include "common/qt/UserPrompts.h"
#include "maintenance/qt/QCDictionarySaveQELDialog.h"
#include "pattern/PatternLimits.h"
#include "platform/Cp1252.h"
#include "platform/FileReplacement.h"
#include "platform/qt/CoreText.h"
#include "search/ResultsText.h"
#include "search/qt/PrintDialogs.h"
#include "search/qt/QELPrintPreview.h"
#include "search/qt/QELPrintout.h"
#include "search/qt/QELViewWindows.h"

namespace qel {
namespace {

// A PDF file ends with its end-of-file mark: one cut short by a full disk does not.
bool pdfComplete(const std::string& path) {
  QFile file(QFile::decodeName(path.c_str()));
  if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return false;
  file.seek(std::max<qint64>(0, file.size() - 1024));
  return file.readAll().contains("%%EOF");
}

bool outOfSpace(const QString& path) {
  const QStorageInfo storage(QFileInfo(path).absolutePath());
  return storage.isValid() && storage.bytesAvailable() < 64 * 1024;
}

enum SaveType { kTextFile = 0, kDictionary = 1 };

#ifdef Q_OS_WIN
constexpr char kLineEnd[] = "\r\n";
#else
constexpr char kLineEnd[] = "\n";
#endif

// The stored margins in the units of a page layout, and back.
QPageLayout::Unit layoutUnit(const PrintingMargins& m) {
  return m.units == kHundredthsOfAMillimetre ? QPageLayout::Millimeter : QPageLayout::Inch;
}
double perLayoutUnit(QPageLayout::Unit unit) { return unit == QPageLayout::Inch ? 1000.0 : 100.0; }

}  // namespace

ResultsOutput::ResultsOutput(QELViewWindows& view, const Options& options,
                             SettingsBackend& settings, QWidget& window)
    : m_view(&view), m_options(options), m_settings(settings), m_window(&window) {}

ResultsOutput::~ResultsOutput() {
  delete m_preview;  // before the printer it shows
}

// The active pane's results: every one in list order, whatever is selected.
void ResultsOutput::saveResults() {
  const int active = m_view->activePane();
  if (!m_view->session() || active < 0 || active >= m_view->paneCount()) return;
  const QStringList types = {tr("Text Document (TXT) (*.txt)"),
                             tr("QEL&Corvanth Dictionary (QCD) (*.qcd)")};
  for (;;) {
    int type = m_lastSaveType;
    const QString chosen = UserPrompts::current().saveFileOfType(
        m_window, tr("Save Results"), types,
        QString::fromStdString(suggestedSaveName(m_lastSaveName)), type);
    if (chosen.isEmpty()) return;
    // A name's own extension says what it is ("list.qcd" under the text filter is a dictionary).
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    if (suffix == "qcd") type = kDictionary;
    if (suffix == "txt") type = kTextFile;
    const std::string name =
        withDefaultExtension(chosen.toStdString(), type == kDictionary ? ".qcd" : ".txt");
    const QString shown = QString::fromStdString(name);
    const QString folder = QFileInfo(shown).absolutePath();
    if (!QFileInfo(folder).isDir()) {
      UserPrompts::current().warning(m_window, tr("Save As"),
                                     tr("The folder %1 does not exist.\nChoose another.")
                                         .arg(QDir::toNativeSeparators(folder)));
      continue;
    }
    if (!mayReplaceFile(m_window, shown)) continue;
    m_lastSaveName = name;
    m_lastSaveType = type;
    if (type == kDictionary) {
      saveResultsAsDictionary(shown);
      return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Status saved = saveResultsText(m_view->session()->pane(active).results,
                                         QFile::encodeName(shown).toStdString(), kLineEnd);
    QApplication::restoreOverrideCursor();
    if (!saved.ok()) {
      UserPrompts::current().warning(
          m_window, tr("Text File Save Error"),
          tr("Results couldn't be saved\n%1 - %2")
              .arg(shown, QString::fromLocal8Bit(saved.reason().c_str())));
    }
    return;
  }
}

// The dictionary save dialog over the active pane's results, with the alphabet of its dictionary
// and the lengths it was searched for. A paused search is abandoned first, since its results are
// what the dictionary will hold; afterwards the view checks the dictionaries again, one of which
// may be the file just written.
void ResultsOutput::saveResultsAsDictionary(const QString& path) {
  if (m_view->state() == SearchState::Paused) m_view->validatePattern();
  const int active = m_view->activePane();
  const SearchSession::Pane& pane = m_view->session()->pane(active);
  if (pane.searchSettings.phraseAnagram && pane.shortest > pattern::kLongestWord) {
    UserPrompts::current().warning(
        m_window, tr("Dictionary Save Failed"),
        tr("These phrase anagrams have %1 letters: a dictionary entry holds at most %2.\n"
           "Save them as a text file instead.")
            .arg(pane.shortest)
            .arg(pattern::kLongestWord));
    return;
  }
  QCDictionarySaveDialog::Request request;
  request.results = &pane.results;
  request.dictionaries = m_dictionaries;
  request.dictionary = active;
  request.path = path;
  request.description = QString::fromStdString(cp1252::toUtf8(pane.searchPattern));
  request.shortest = pane.shortest;
  request.longest = pane.longest;
  QCDictionarySaveQELDialog dialog(request, m_settings, m_window);
  connect(&dialog, &PropertiesDialog::helpRequested, &dialog,
          [&dialog](int context) { showHelp(context, &dialog); });
  dialog.exec();
  m_view->validatePattern();
}

// The printer is made on first use. Until a printer is installed it writes a PDF file (the print
// dialog shows where), and it is made again at each use, so that a printer installed since is
// found.
QPrinter& ResultsOutput::printer() {
  const bool printerInstalled = !QPrinterInfo::availablePrinterNames().isEmpty();
  if (!m_printer || (m_printerIsPdfFallback && printerInstalled)) {
    m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // The printout places everything itself, from the paper's corner.
    m_printer->setFullPage(true);
    m_printerIsPdfFallback = !printerInstalled;
    if (m_printerIsPdfFallback) {
      m_printer->setOutputFormat(QPrinter::PdfFormat);
      QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
      if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
      m_printer->setOutputFileName(folder + "/results.pdf");
    }
  }
  return *m_printer;
}

std::unique_ptr<QELPrintout> ResultsOutput::makePrintout() const {
  const int active = m_view->activePane();
  if (!m_view->session() || active < 0 || active >= m_view->paneCount() ||
      active >= m_dictionaries->count())
    return nullptr;
  const ResultList& results = m_view->session()->pane(active).results;
  if (results.count() == 0) return nullptr;
  auto printout = std::make_unique<QELPrintout>(
      results, QFile::decodeName(m_dictionaries->name(active).c_str()));
  printout->setFont(toQFont(m_options.fontPrinting), textColour(m_options.fontPrinting));
  printout->setMargins(readPrintingMargins(m_settings));
  // A single selected result is most likely just where the caret stands: the whole list prints
  // unless the print dialog says otherwise.
  printout->setSelectionFlag(results.selection().selectedCount() >= 2);
  return printout;
}

void ResultsOutput::printResults() {
  if (m_view->state() == SearchState::Searching) return;
  if (const std::unique_ptr<QELPrintout> printout = makePrintout())
    printWith(*printout, 0, 0, m_window);
}

bool ResultsOutput::printWith(QELPrintout& printout, int first, int last, QWidget* parent) {
  QPrinter& p = printer();
  if (m_printerIsPdfFallback) {
    const QFileInfo file(p.outputFileName());
    p.setOutputFileName(file.dir().filePath(printout.title() + ".pdf"));
  }
  const int pages = printout.paginate(p);
  if (first > 0) {
    p.setPrintRange(QPrinter::PageRange);
    p.setFromTo(first, std::max(first, last));
  } else {
    p.setPrintRange(printout.selectionFlag() ? QPrinter::Selection : QPrinter::AllPages);
    p.setFromTo(0, 0);
  }
  const bool selectionAvailable = printout.feeder().selectedCount() > 0;
  if (!PrintDialogs::current().print(parent, p, pages, selectionAvailable)) return false;
  // The dialog's choice between all results and the selected ones; a range of pages is of the
  // printout as it stands.
  if (p.printRange() == QPrinter::Selection) printout.setSelectionFlag(true);
  if (p.printRange() == QPrinter::AllPages) printout.setSelectionFlag(false);
  const bool range = p.printRange() == QPrinter::PageRange;

  // Printing to a file writes it beside the file under a temporary name, renamed over it only
  // once it is complete: a full disk leaves the old file as it was and says so.
  const QString target = p.outputFileName();
  FileReplacement file;
  if (!target.isEmpty()) {
    if (const Status begun = file.begin(localPath(target)); !begun.ok()) {
      UserPrompts::current().warning(parent, tr("Print"),
                                     tr("The results couldn't be printed to\n%1\n%2")
                                         .arg(target, QString::fromStdString(begun.reason())));
      return false;
    }
    p.setOutputFileName(QFile::decodeName(file.temporaryPath().c_str()));
  }
  QProgressDialog progress(tr("Printing \"%1\"...").arg(printout.title()), tr("Cancel"), 0, 1,
                           parent);
  progress.setWindowTitle(tr("Print"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  const bool printed = printout.print(p, range ? p.fromPage() : 0, range ? p.toPage() : 0,
                                      [&progress](int page, int lastPage) {
                                        progress.setMaximum(lastPage);
                                        progress.setValue(page);
                                        return !progress.wasCanceled();
                                      });
  progress.reset();
  QString cause;
  if (!target.isEmpty()) {
    p.setOutputFileName(target);
    if (printed && !pdfComplete(file.temporaryPath())) {
      cause = outOfSpace(target) ? tr("The disk is full.") : tr("The file was cut short.");
    } else if (printed) {
      cause = QString::fromStdString(file.commit().reason());
    }
    if (!cause.isEmpty() || !printed) file.discard();
  }
  if ((!printed && !progress.wasCanceled()) || !cause.isEmpty()) {
    UserPrompts::current().warning(parent, tr("Print"),
                                   target.isEmpty()
                                       ? tr("The results couldn't be printed.")
                                       : tr("The results couldn't be printed to\n%1").arg(target) +
                                             (cause.isEmpty() ? QString() : "\n" + cause));
    return false;
  }
  return printed;
}

// A window of its own that stays in front of the main window, which waits until it is closed, as
// the results it shows must not change under it.
void ResultsOutput::printPreview() {
  if (m_view->state() == SearchState::Searching || m_preview) return;
  std::unique_ptr<QELPrintout> printout = makePrintout();
  if (!printout) return;
  auto* preview = new QELPrintPreview(std::move(printout), printer(), m_settings, m_window);
  preview->setAttribute(Qt::WA_DeleteOnClose);
  preview->setWindowModality(Qt::WindowModal);
  connect(preview, &QELPrintPreview::printRequested, preview, [this, preview](int first, int last) {
    printWith(preview->printout(), first, last, preview);
    preview->pages()->updatePreview();  // the print dialog may have changed the paper
  });
  connect(preview, &QELPrintPreview::helpRequested, preview,
          [preview](int context) { showHelp(context, preview); });
  m_preview = preview;
  preview->show();
}

QELPrintPreview* ResultsOutput::printPreviewWindow() const { return m_preview; }

// The paper and margins of printouts; the margins are kept in the settings in the units the
// dialog gave them.
void ResultsOutput::pageSetup() {
  QPrinter& p = printer();
  const PrintingMargins stored = readPrintingMargins(m_settings);
  QPageLayout layout = p.pageLayout();
  const QPageLayout::Unit unit = layoutUnit(stored);
  const double per = perLayoutUnit(unit);
  layout.setUnits(unit);
  layout.setMargins(
      QMarginsF(stored.left / per, stored.top / per, stored.right / per, stored.bottom / per));
  p.setPageLayout(layout);
  if (!PrintDialogs::current().pageSetup(m_window, p)) return;

  const QPageLayout chosen = p.pageLayout();
  PrintingMargins m;
  m.units = chosen.units() == QPageLayout::Inch ? kThousandthsOfAnInch : kHundredthsOfAMillimetre;
  const QPageLayout::Unit storedUnit =
      m.units == kThousandthsOfAnInch ? QPageLayout::Inch : QPageLayout::Millimeter;
  QPageLayout converted = chosen;
  converted.setUnits(storedUnit);
  const QMarginsF margins = converted.margins();
  const double scale = perLayoutUnit(storedUnit);
  m.left = static_cast<int32_t>(std::lround(margins.left() * scale));
  m.top = static_cast<int32_t>(std::lround(margins.top() * scale));
  m.right = static_cast<int32_t>(std::lround(margins.right() * scale));
  m.bottom = static_cast<int32_t>(std::lround(margins.bottom() * scale));
  writePrintingMargins(m_settings, m);
}

}  // namespace qel
