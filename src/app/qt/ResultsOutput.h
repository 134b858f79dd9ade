// What takes the main window's results out of the program: Save Results (as a text file or as a
// dictionary), Print, Print Preview and Page Setup, and the printer they share. The main window
// owns it; its dialogs and the preview open over the main window.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>

class QPrinter;
class QWidget;

namespace qel {

class QCDictionaryList;
class QELPrintout;
class QELPrintPreview;
class QELViewWindows;
class SettingsBackend;
struct Options;

class ResultsOutput : public QObject {
  Q_OBJECT

 public:
  // All of them outlive this. Printouts take the printing font of `options`; `window` is the
  // parent of the dialogs and of the preview.
  ResultsOutput(QELViewWindows& view, const Options& options, SettingsBackend& settings,
                QWidget& window);
  ~ResultsOutput() override;

  // The dictionaries the view's panes search (which outlive this, or until the next call).
  void setDictionaries(QCDictionaryList* dictionaries) { m_dictionaries = dictionaries; }

  // The active pane's results as a text file or, when the user chooses that type, as a
  // dictionary through the dictionary save dialog.
  void saveResults();
  // The active pane's results printed (the selected ones when two or more are selected, unless
  // the print dialog says otherwise), previewed, and the page setup of printouts. Without a
  // printer installed, printing writes a PDF file.
  void printResults();
  void printPreview();
  void pageSetup();
  // The open print preview, if any.
  QELPrintPreview* printPreviewWindow() const;
  // The printer of printouts: the default printer, or a PDF file when no printer is installed.
  QPrinter& printer();

 private:
  void saveResultsAsDictionary(const QString& path);
  // A printout of the active pane's results with the printing font and margins; null without
  // results.
  std::unique_ptr<QELPrintout> makePrintout() const;
  // The print dialog for `printout`, offering pages `first` to `last` (0: all), then the print
  // with its progress; true when it was printed.
  bool printWith(QELPrintout& printout, int first, int last, QWidget* parent);

  QELViewWindows* m_view;
  const Options& m_options;
  SettingsBackend& m_settings;
  QWidget* m_window;
  QCDictionaryList* m_dictionaries = nullptr;
  std::string m_lastSaveName;  // the last file results were saved to
  int m_lastSaveType = 0;      // and its type: 0 text, 1 dictionary
  std::unique_ptr<QPrinter> m_printer;
  bool m_printerIsPdfFallback = false;
  QPointer<QELPrintPreview> m_preview;
};

}  // namespace qel
