// The print preview window.
#include "search/qt/QELPrintPreview.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProgressDialog>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "app/HelpContexts.h"
#include "common/qt/WindowPosition.h"

namespace qel {
namespace {

// A tool bar item with its status-bar hint and its tooltip.
QAction* addItem(QToolBar* bar, const QString& text, const QString& hint, const QString& tip) {
  QAction* action = bar->addAction(text);
  action->setStatusTip(hint);
  action->setToolTip(tip);
  return action;
}

}  // namespace

QELPrintPreview::QELPrintPreview(std::unique_ptr<QELPrintout> printout, QPrinter& printer,
                                 SettingsBackend& settings, QWidget* parent)
    : QMainWindow(parent, Qt::Window),
      m_printout(std::move(printout)),
      m_printer(printer),
      m_settings(settings) {
  setObjectName(kWindowName);
  setWindowTitle(tr("%1 - Print Preview").arg(m_printout->title()));
  m_pages = new QPrintPreviewWidget(&m_printer, this);
  m_pages->setObjectName("pages");
  m_pages->setViewMode(QPrintPreviewWidget::SinglePageView);
  m_pages->setZoomMode(QPrintPreviewWidget::FitInView);
  connect(m_pages, &QPrintPreviewWidget::paintRequested, this, &QELPrintPreview::paintPages);
  connect(m_pages, &QPrintPreviewWidget::previewChanged, this, &QELPrintPreview::updateStatus);
  setCentralWidget(m_pages);
  m_pageLabel = new QLabel(this);
  m_pageLabel->setObjectName("pageText");
  statusBar()->addPermanentWidget(m_pageLabel);
  buildToolBar();
  // Shortcuts rather than key events: the page view would take Page Up and Page Down to scroll.
  const auto onKey = [this](QKeySequence key, auto act) {
    connect(new QShortcut(key, this), &QShortcut::activated, this, act);
  };
  onKey(QKeySequence(Qt::Key_Escape), [this] { close(); });
  onKey(QKeySequence(Qt::Key_PageUp), [this] {
    if (m_previous->isEnabled()) m_previous->trigger();
  });
  onKey(QKeySequence(Qt::Key_PageDown), [this] {
    if (m_next->isEnabled()) m_next->trigger();
  });
  onKey(QKeySequence::HelpContents, [this] { emit helpRequested(help::kPrintPreview); });
  // Wide enough for the whole tool bar: its last items choose what prints and close the window.
  resize(std::max(640, findChild<QToolBar*>("toolBar")->sizeHint().width()), 760);
  restoreDialogPosition(*this, m_settings, kWindowName);
  m_pages->updatePreview();
  updateStatus();
}

QELPrintPreview::~QELPrintPreview() = default;

void QELPrintPreview::buildToolBar() {
  QToolBar* bar = addToolBar(tr("Print Preview"));
  bar->setObjectName("toolBar");
  bar->setMovable(false);
  m_print = addItem(bar, tr("&Print..."), tr("Print the page being displayed"), tr("Print Page"));
  connect(m_print, &QAction::triggered, this, [this] {
    const int first = currentPage();
    const int last = showsTwoPages() && first > 1 ? std::min(first + 1, pageCount()) : first;
    emit printRequested(first, last);
  });
  bar->addSeparator();
  m_previous = addItem(bar, tr("Pre&vious Page"), tr("Display the page before the one shown"),
                       tr("Show Previous Page"));
  connect(m_previous, &QAction::triggered, this,
          [this] { showPage(currentPage() - (showsTwoPages() ? 2 : 1)); });
  m_next = addItem(bar, tr("&Next Page"), tr("Display the page after the one shown"),
                   tr("Show Next Page"));
  connect(m_next, &QAction::triggered, this,
          [this] { showPage(currentPage() + (showsTwoPages() && currentPage() > 1 ? 2 : 1)); });
  m_twoPages =
      addItem(bar, tr("&Two Pages"), tr("Display two pages side by side"), tr("Two Pages"));
  m_twoPages->setCheckable(true);
  connect(m_twoPages, &QAction::toggled, this, [this](bool two) {
    const int page = currentPage();
    m_pages->setViewMode(two ? QPrintPreviewWidget::FacingPagesView
                             : QPrintPreviewWidget::SinglePageView);
    m_pages->fitInView();
    showPage(page);
  });
  QAction* zoomIn = addItem(bar, tr("Zoom &In"), tr("Show the pages larger"), tr("Zoom In"));
  connect(zoomIn, &QAction::triggered, m_pages, [this] { m_pages->zoomIn(); });
  QAction* zoomOut = addItem(bar, tr("Zoom &Out"), tr("Show the pages smaller"), tr("Zoom Out"));
  connect(zoomOut, &QAction::triggered, m_pages, [this] { m_pages->zoomOut(); });
  bar->addSeparator();

  auto* choice = new QActionGroup(this);
  m_allResults = addItem(bar, tr("&All Results"), tr("Print all results"), tr("All Results"));
  m_selectedResults =
      addItem(bar, tr("&Selected Results"), tr("Print selected results"), tr("Selected Results"));
  for (QAction* a : {m_allResults, m_selectedResults}) {
    a->setCheckable(true);
    choice->addAction(a);
  }
  const QELPrintoutFeeder& feeder = m_printout->feeder();
  m_selectedResults->setEnabled(feeder.selectedCount() > 0);
  (m_printout->selectionFlag() && feeder.selectedCount() > 0 ? m_selectedResults : m_allResults)
      ->setChecked(true);
  connect(m_allResults, &QAction::triggered, this, [this] { chooseResults(false); });
  connect(m_selectedResults, &QAction::triggered, this, [this] { chooseResults(true); });
  bar->addSeparator();
  QAction* close = addItem(bar, tr("&Close"), tr("Close the print preview"), tr("Close"));
  connect(close, &QAction::triggered, this, &QWidget::close);
}

// A long list takes seconds to lay out as pages: the progress shows, and Cancel closes the preview.
void QELPrintPreview::paintPages(QPrinter* printer) {
  QProgressDialog progress(tr("Preparing the preview of \"%1\"...").arg(m_printout->title()),
                           tr("Cancel"), 0, 1, isVisible() ? this : parentWidget());
  progress.setWindowTitle(tr("Print Preview"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  const bool whole = m_printout->print(
      *printer, 0, 0,
      [&progress](int page, int lastPage) {
        progress.setMaximum(lastPage);
        progress.setValue(page);
        return !progress.wasCanceled();
      },
      QELPrintout::WhenCancelled::kKeepPagesDone);
  if (!whole && progress.wasCanceled()) QTimer::singleShot(0, this, &QWidget::close);
}

void QELPrintPreview::chooseResults(bool selectedOnly) {
  if (selectedOnly == m_printout->selectionFlag()) return;
  m_printout->setSelectionFlag(selectedOnly);
  m_pages->updatePreview();
  showPage(1);
}

int QELPrintPreview::currentPage() const { return m_pages->currentPage(); }
int QELPrintPreview::pageCount() const { return m_pages->pageCount(); }
bool QELPrintPreview::showsTwoPages() const { return m_twoPages->isChecked(); }

void QELPrintPreview::showPage(int page) {
  m_pages->setCurrentPage(std::clamp(page, 1, std::max(pageCount(), 1)));
  updateStatus();
}

// Two pages show as a book does: the first alone, then 2 and 3, 4 and 5 side by side.
QString QELPrintPreview::pageText() const {
  const int page = currentPage();
  const int count = pageCount();
  if (showsTwoPages() && page > 1) {
    const int first = page - page % 2;
    if (first + 1 <= count) return tr("Page %1 - %2").arg(first).arg(first + 1);
    return tr("Page %1 of %2").arg(first).arg(count);
  }
  return tr("Page %1 of %2").arg(page).arg(count);
}

void QELPrintPreview::updateStatus() {
  const int page = currentPage();
  const int lastShown = showsTwoPages() && page > 1 ? page - page % 2 + 1 : page;
  m_pageLabel->setText(pageText());
  m_previous->setEnabled(page > 1);
  m_next->setEnabled(lastShown < pageCount());
  m_print->setEnabled(pageCount() > 0);
}

void QELPrintPreview::closeEvent(QCloseEvent* event) {
  storeDialogPosition(*this, m_settings, kWindowName);
  QMainWindow::closeEvent(event);
}

}  // namespace qel
