// The print preview: the pages of a printout in a window of their own, one or two at a time, with
// the page shown in the status bar and a tool bar to print, turn pages, and choose between all
// results and the selected ones.
#pragma once

#include <QMainWindow>
#include <memory>

#include "app/SettingsBackend.h"
#include "search/qt/QELPrintout.h"

class QAction;
class QLabel;
class QPrintPreviewWidget;
class QPrinter;

namespace qel {

class QELPrintPreview : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr char kWindowName[] = "QELPrintPreview";

  // Shows `printout` on `printer` (both outlive nothing here: the printout is the preview's, the
  // printer the caller's and must outlive the window). It keeps its place under its window name.
  QELPrintPreview(std::unique_ptr<QELPrintout> printout, QPrinter& printer,
                  SettingsBackend& settings, QWidget* parent = nullptr);
  ~QELPrintPreview() override;

  QELPrintout& printout() { return *m_printout; }
  QPrintPreviewWidget* pages() const { return m_pages; }
  int currentPage() const;
  int pageCount() const;
  bool showsTwoPages() const;
  // "Page 2 of 5", or "Page 2 - 3" while two pages show.
  QString pageText() const;

  QAction* printAction() const { return m_print; }
  QAction* previousAction() const { return m_previous; }
  QAction* nextAction() const { return m_next; }
  QAction* twoPagesAction() const { return m_twoPages; }
  QAction* allResultsAction() const { return m_allResults; }
  QAction* selectedResultsAction() const { return m_selectedResults; }

 signals:
  // Print, for the pages from `first` to `last` that show.
  void printRequested(int first, int last);
  void helpRequested(int context);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildToolBar();
  void paintPages(QPrinter* printer);
  void chooseResults(bool selectedOnly);
  void showPage(int page);
  void updateStatus();

  std::unique_ptr<QELPrintout> m_printout;
  QPrinter& m_printer;
  SettingsBackend& m_settings;
  QPrintPreviewWidget* m_pages = nullptr;
  QLabel* m_pageLabel = nullptr;
  QAction* m_print = nullptr;
  QAction* m_previous = nullptr;
  QAction* m_next = nullptr;
  QAction* m_twoPages = nullptr;
  QAction* m_allResults = nullptr;
  QAction* m_selectedResults = nullptr;
};

}  // namespace qel
