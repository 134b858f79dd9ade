// The word-list merge window: its controls, the merge with its progress and counts, and Cancel.
#include "maintenance/qt/QCWordListMergeWindow.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <atomic>
#include <thread>

#include "common/qt/UserPrompts.h"
#include "dictionary/CommonnessRanks.h"
#include "dictionary/DecodedSideFile.h"
#include "maintenance/DictionaryBuilder.h"
#include "maintenance/FoldTable.h"
#include "maintenance/MergeInputs.h"
#include "maintenance/WordListMerge.h"
#include "platform/Cp1252.h"
#include "platform/FileAccess.h"
#include "platform/FileReplacement.h"
#include "platform/qt/CoreText.h"
#include "search/ResultsText.h"

namespace qel {
namespace {

constexpr int kMergeHelpContext = 5120;
constexpr std::string_view kInputFolder = "MergeInputFolder";
constexpr std::string_view kOutputFolder = "MergeOutputFolder";
// The share of the progress bar that reading the inputs takes; writing takes the rest.
constexpr double kReadingShare = 0.6;

std::string toLocal(const QString& path) { return QFile::encodeName(path).toStdString(); }

QPushButton* button(const QString& text, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

// The merged lines as the builder's source, giving the window its turns.
class QCWordListMergeWindow::Lines : public BuildSource {
 public:
  Lines(QCWordListMergeWindow& window, const std::vector<std::string>& lines)
      : m_window(window), m_lines(lines) {}

  void rewind() override { m_next = 0; }
  Line nextLine(std::string& line, long) override {
    if (m_next >= m_lines.size()) return Line::End;
    if ((m_next & 4095) == 0 &&
        !m_window.turn(static_cast<double>(m_next) / static_cast<double>(m_lines.size())))
      return Line::Abandoned;
    line = m_lines[m_next++];
    return Line::Text;
  }
  bool keepGoing() override { return (++m_entries & 4095) != 0 || m_window.turn(1.0); }
  void info(const std::string&) override {}
  void error(const std::string& text) override { m_window.addToLog(fromCp1252(text).trimmed()); }

 private:
  QCWordListMergeWindow& m_window;
  const std::vector<std::string>& m_lines;
  size_t m_next = 0;
  unsigned m_entries = 0;
};

QCWordListMergeWindow::QCWordListMergeWindow(SettingsBackend& settings, QWidget* parent)
    : MaintenanceJobDialog("WordListMerge", kMergeHelpContext,
                           tr("Add the word lists and dictionaries to merge, then Merge"), settings,
                           parent) {
  setWindowTitle(tr("QEL&Corvanth Word List Merge"));
  acceptButton()->setText(tr("&Merge"));
  acceptButton()->setObjectName("merge");
  closeButton()->setText(tr("&Close"));

  auto* grid = new QGridLayout;
  int row = 0;

  m_inputs = new QListWidget(this);
  m_inputs->setObjectName("inputs");
  m_inputs->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_inputs->setMinimumHeight(m_inputs->fontMetrics().lineSpacing() * 5);
  auto* inputsLabel = new QLabel(tr("&Inputs, in order:"), this);
  inputsLabel->setBuddy(m_inputs);
  m_add = button(tr("&Add..."), this);
  m_remove = button(tr("&Remove"), this);
  m_up = button(tr("Move &Up"), this);
  m_down = button(tr("Move Do&wn"), this);
  auto* inputButtons = new QVBoxLayout;
  for (QPushButton* b : {m_add, m_remove, m_up, m_down}) inputButtons->addWidget(b);
  inputButtons->addStretch(1);
  grid->addWidget(inputsLabel, row, 0, Qt::AlignTop);
  grid->addWidget(m_inputs, row, 1);
  grid->addLayout(inputButtons, row++, 2);
  const int inputsRow = row - 1;
  connect(m_add, &QPushButton::clicked, this, &QCWordListMergeWindow::addInputs);
  connect(m_remove, &QPushButton::clicked, this, &QCWordListMergeWindow::removeInputs);
  connect(m_up, &QPushButton::clicked, this, [this] { moveInput(-1); });
  connect(m_down, &QPushButton::clicked, this, [this] { moveInput(1); });
  connect(m_inputs, &QListWidget::itemSelectionChanged, this,
          &QCWordListMergeWindow::updateControls);

  m_encoding = new QComboBox(this);
  m_encoding->setObjectName("encoding");
  m_encoding->addItems({tr("UTF-8"), tr("Code page 1252 (Western European)")});
  auto* encodingLabel = new QLabel(tr("&Text lists are in:"), this);
  encodingLabel->setBuddy(m_encoding);
  grid->addWidget(encodingLabel, row, 0);
  grid->addWidget(m_encoding, row++, 1, Qt::AlignLeft);

  auto* duplicates = new QGroupBox(tr("Duplicates (words with the same letters)"), this);
  m_keepFirst = new QRadioButton(tr("Keep the &first spelling met"), duplicates);
  m_keepEvery = new QRadioButton(tr("Keep &every spelling"), duplicates);
  m_keepFirst->setChecked(true);
  auto* duplicatesLayout = new QHBoxLayout(duplicates);
  duplicatesLayout->addWidget(m_keepFirst);
  duplicatesLayout->addWidget(m_keepEvery);
  duplicatesLayout->addStretch(1);
  grid->addWidget(duplicates, row++, 0, 1, 3);

  auto* output = new QGroupBox(tr("Result"), this);
  m_toText = new QRadioButton(tr("A source te&xt file (UTF-8)"), output);
  m_toDictionary = new QRadioButton(tr("A &dictionary"), output);
  m_toDictionary->setChecked(true);
  m_output = new QLineEdit(this);
  m_output->setObjectName("output");
  connect(m_output, &QLineEdit::textChanged, this, &QCWordListMergeWindow::updateControls);
  m_change = button(tr("Cha&nge..."), this);
  m_description = new QLineEdit(this);
  m_description->setObjectName("description");
  auto* outputLayout = new QGridLayout(output);
  auto* kinds = new QHBoxLayout;
  kinds->addWidget(m_toDictionary);
  kinds->addWidget(m_toText);
  kinds->addStretch(1);
  outputLayout->addLayout(kinds, 0, 0, 1, 3);
  auto* fileLabel = new QLabel(tr("Re&sult file:"), output);
  fileLabel->setBuddy(m_output);
  outputLayout->addWidget(fileLabel, 1, 0);
  outputLayout->addWidget(m_output, 1, 1);
  outputLayout->addWidget(m_change, 1, 2);
  auto* descriptionLabel = new QLabel(tr("Descri&ption:"), output);
  descriptionLabel->setBuddy(m_description);
  outputLayout->addWidget(descriptionLabel, 2, 0);
  outputLayout->addWidget(m_description, 2, 1, 1, 2);
  outputLayout->setColumnStretch(1, 1);
  grid->addWidget(output, row++, 0, 1, 3);
  connect(m_change, &QPushButton::clicked, this, &QCWordListMergeWindow::chooseOutput);
  connect(m_toDictionary, &QRadioButton::toggled, this, &QCWordListMergeWindow::updateControls);

  grid->addWidget(m_progress, row++, 0, 1, 3);

  m_counts = new QTreeWidget(this);
  m_counts->setObjectName("counts");
  m_counts->setRootIsDecorated(false);
  m_counts->setHeaderLabels(
      {tr("Input"), tr("Entries"), tr("Added"), tr("Duplicates"), tr("Skipped")});
  // Every heading shows whole: the counts fit their headings and the input column never gets
  // less than its own.
  QHeaderView* headings = m_counts->header();
  headings->setStretchLastSection(false);
  headings->setSectionResizeMode(QHeaderView::ResizeToContents);
  headings->setSectionResizeMode(0, QHeaderView::Stretch);
  int headingsWidth = 2 * m_counts->frameWidth();
  for (int column = 0; column < m_counts->columnCount(); ++column)
    headingsWidth += headings->sectionSizeHint(column);
  m_counts->setMinimumWidth(headingsWidth);
  m_counts->setMinimumHeight(m_counts->fontMetrics().lineSpacing() * 6);
  auto* countsLabel = new QLabel(tr("C&ounts:"), this);
  countsLabel->setBuddy(m_counts);
  grid->addWidget(countsLabel, row, 0, Qt::AlignTop);
  grid->addWidget(m_counts, row++, 1, 1, 2);

  m_log->setMaximumHeight(m_log->fontMetrics().lineSpacing() * 4 + 2 * m_log->frameWidth() + 8);
  auto* logLabel = new QLabel(tr("&Log:"), this);
  logLabel->setBuddy(m_log);
  grid->addWidget(logLabel, row, 0, Qt::AlignTop);
  grid->addWidget(m_log, row++, 1, 1, 2);

  grid->addWidget(m_status, row++, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(inputsRow, 1);

  setMinimumWidth(fontMetrics().averageCharWidth() * 90);
  setUp(grid);
  updateControls();
}

QCWordListMergeWindow::~QCWordListMergeWindow() = default;

QStringList QCWordListMergeWindow::inputs() const {
  QStringList paths;
  for (int i = 0; i < m_inputs->count(); ++i)
    paths << m_inputs->item(i)->data(Qt::UserRole).toString();
  return paths;
}

void QCWordListMergeWindow::setInputs(const QStringList& paths) {
  m_inputs->clear();
  for (const QString& path : paths) {
    auto* item = new QListWidgetItem(QFileInfo(path).fileName(), m_inputs);
    item->setData(Qt::UserRole, path);
    item->setToolTip(path);
  }
  updateControls();
}

QStringList QCWordListMergeWindow::countRows() const {
  QStringList rows;
  for (int i = 0; i < m_counts->topLevelItemCount(); ++i) {
    QStringList cells;
    for (int c = 0; c < m_counts->columnCount(); ++c) cells << m_counts->topLevelItem(i)->text(c);
    rows << cells.join(' ');
  }
  return rows;
}

void QCWordListMergeWindow::addInputs() {
  const QStringList chosen = UserPrompts::current().openFilesIn(
      this, tr("Word Lists and Dictionaries to Merge"),
      tr("Word Lists and Dictionaries (*.txt *.qcd);;All Files (*)"),
      fromLocalPath(readString(settings(), kInputFolder, "")));
  if (chosen.isEmpty()) return;
  setInputs(inputs() + chosen);
  settings().writeString(kInputFolder, toLocal(QFileInfo(chosen.front()).absolutePath()));
}

void QCWordListMergeWindow::removeInputs() {
  qDeleteAll(m_inputs->selectedItems());
  updateControls();
}

void QCWordListMergeWindow::moveInput(int step) {
  const int from = m_inputs->currentRow();
  const int to = from + step;
  if (from < 0 || to < 0 || to >= m_inputs->count()) return;
  m_inputs->insertItem(to, m_inputs->takeItem(from));
  m_inputs->setCurrentRow(to);
}

void QCWordListMergeWindow::chooseOutput() {
  const bool dictionary = m_toDictionary->isChecked();
  QString suggested = m_output->text().trimmed();
  if (suggested.isEmpty()) suggested = fromLocalPath(readString(settings(), kOutputFolder, ""));
  const QString chosen = UserPrompts::current().saveFile(
      this, dictionary ? tr("Merged Dictionary") : tr("Merged Word List"),
      dictionary ? tr("QEL&Corvanth Dictionary (QCD) (*.qcd);;All Files (*)")
                 : tr("Text Files (*.txt);;All Files (*)"),
      suggested);
  if (chosen.isEmpty()) return;
  m_output->setText(QString::fromStdString(
      withDefaultExtension(chosen.toStdString(), dictionary ? ".qcd" : ".txt")));
  settings().writeString(kOutputFolder, toLocal(QFileInfo(chosen).absolutePath()));
}

void QCWordListMergeWindow::updateControls() {
  if (running()) return;
  const bool selected = !m_inputs->selectedItems().isEmpty();
  m_remove->setEnabled(selected);
  m_up->setEnabled(selected && m_inputs->currentRow() > 0);
  m_down->setEnabled(selected && m_inputs->currentRow() < m_inputs->count() - 1);
  m_description->setEnabled(m_toDictionary->isChecked());
  // Something to merge and somewhere to write it.
  acceptButton()->setEnabled(m_inputs->count() > 0 && !m_output->text().trimmed().isEmpty());
}

void QCWordListMergeWindow::enableControls(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           m_inputs, m_add, m_remove, m_up, m_down, m_encoding, m_keepFirst, m_keepEvery, m_toText,
           m_toDictionary, m_output, m_change, m_description, acceptButton()}) {
    w->setEnabled(enabled);
  }
  if (enabled) updateControls();
}

bool QCWordListMergeWindow::turn(double done) {
  const double inputs = std::max(1, m_inputs->count());
  return takeTurn(m_input < m_inputs->count() ? kReadingShare * (m_input + done) / inputs
                                              : kReadingShare + (1 - kReadingShare) * done);
}

bool QCWordListMergeWindow::apply() {
  const Outcome outcome = runJob(m_output->text().trimmed(), [this] {
    m_counts->clear();
    return merge();
  });
  if (outcome == Outcome::kDeclined) return false;
  if (outcome != Outcome::kDone) {
    m_status->setText(outcome == Outcome::kCancelled
                          ? tr("Merge cancelled - the result file is unchanged")
                          : tr("Merge failed - the result file is unchanged"));
  }
  emit mergeFinished(outcome == Outcome::kDone);
  return false;
}

bool QCWordListMergeWindow::merge() {
  const QString outputText = m_output->text().trimmed();
  if (outputText.isEmpty()) {
    addToLog(tr("Give the file to write the result in"));
    return false;
  }
  const std::string output = toLocal(QFileInfo(outputText).absoluteFilePath());
  const QStringList paths = inputs();
  for (const QString& path : paths) {
    // The result replaces its file only at the end, but the input would be lost.
    if (sameFile(toLocal(path), output)) {
      addToLog(tr("The result file is one of the inputs; choose another"));
      return false;
    }
    // Nor may the old result be kept in an input's place ("words.bak" for "words.txt").
    if (sameFile(toLocal(path), backupPathFor(output))) {
      addToLog(tr("%1 is where the result file's old contents would be kept; rename it or choose "
                  "another result file")
                   .arg(path));
      return false;
    }
  }
  std::string description;
  if (!cp1252::fromUtf8(m_description->text().toStdString(), description)) {
    addToLog(tr("The description has a character that a dictionary cannot hold"));
    return false;
  }

  WordListMerge merged(m_keepFirst->isChecked() ? WordListMerge::Duplicates::kKeepFirst
                                                : WordListMerge::Duplicates::kKeepEverySpelling,
                       m_toText->isChecked() ? WordListMerge::Holds::kAnyEntry
                                             : WordListMerge::Holds::kDictionaryEntries);
  const bool utf8 = m_encoding->currentIndex() == 0;
  const MergeProgress progress = [this](double done) { return turn(done); };
  CommonnessRanks ranks;  // of the dictionaries merged: the merged dictionary keeps them
  for (m_input = 0; m_input < paths.size(); ++m_input) {
    const std::string path = toLocal(QFileInfo(paths[m_input]).absoluteFilePath());
    m_status->setText(tr("Reading %1").arg(paths[m_input]));
    const Status read = looksLikeDictionary(path) ? mergeDictionary(merged, path, progress, &ranks)
                                                  : mergeTextFile(merged, path, utf8, progress);
    if (!read.ok()) {
      addToLog(fromLocalPath(read.reason()));
      return false;
    }
  }

  // Counts per input and in total.
  long totals[4] = {};
  for (const WordListMerge::InputCounts& c : merged.counts()) {
    const long values[4] = {c.entries, c.added, c.duplicates, c.skipped};
    QStringList cells{QFileInfo(fromLocalPath(c.name)).fileName()};
    for (int k = 0; k < 4; ++k) {
      cells << QString::number(values[k]);
      totals[k] += values[k];
    }
    auto* item = new QTreeWidgetItem(m_counts, cells);
    item->setToolTip(0, fromLocalPath(c.name));
    for (const auto& [reason, count] : c.skippedFor) {
      addToLog(tr("%1: %2 skipped - %3").arg(cells[0]).arg(count).arg(fromCp1252(reason)));
    }
  }
  QStringList cells{tr("Total")};
  for (long t : totals) cells << QString::number(t);
  new QTreeWidgetItem(m_counts, cells);
  for (int c = 1; c < m_counts->columnCount(); ++c) m_counts->resizeColumnToContents(c);

  m_status->setText(tr("Sorting %n entries", "", static_cast<int>(merged.size())));
  // Sorting a million entries takes a second or two: it runs beside the window, which stays live.
  std::vector<std::string> lines;
  std::atomic<bool> sorted = false;
  std::thread sorter([&] {
    lines = merged.sourceLines();
    sorted = true;
  });
  while (!sorted) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  sorter.join();
  if (cancelled()) return false;
  // A merge that kept nothing (every line skipped, say for the wrong encoding) never replaces
  // what the output file holds.
  if (lines.empty()) {
    addToLog(tr("Nothing to write: no line of the inputs gave an entry (the log above says why) "
                "- %1 is left as it was")
                 .arg(QFileInfo(fromLocalPath(output)).fileName()));
    return false;
  }
  if (m_toText->isChecked()) {
    if (const Status written = writeMergedText(lines, output); !written.ok()) {
      addToLog(fromLocalPath(written.reason()));
      return false;
    }
  } else {
    BuildParameters p;
    p.fold = lowerCaseFoldTable();
    p.outputPath = output;
    p.backupPath = backupPathFor(output);
    p.description = description;
    m_status->setText(tr("Building the dictionary"));
    Lines source(*this, lines);
    p.ranks = &ranks;
    if (!buildDictionary(source, p)) return false;
    prepareSideFile(p.outputPath);  // its first search is then as fast as the rest
  }
  m_status->setText(tr("%n entries written", "", static_cast<int>(merged.size())));
  return true;
}

}  // namespace qel
