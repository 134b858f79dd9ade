// The dictionary builder's window: its controls, the build with its progress and log, and Cancel.
#include "maintenance/qt/QCDictionaryBuilderWindow.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "common/qt/UserPrompts.h"
#include "dictionary/CommonnessRanks.h"
#include "dictionary/DecodedSideFile.h"
#include "maintenance/FoldTable.h"
#include "maintenance/TextFileSource.h"
#include "pattern/PatternLimits.h"
#include "platform/Cp1252.h"
#include "platform/FileAccess.h"
#include "platform/FileReplacement.h"
#include "platform/qt/CoreText.h"
#include "search/ResultsText.h"

namespace qel {
namespace {

constexpr int kBuilderHelpContext = 4980;
constexpr std::string_view kSourceFolder = "BuilderSourceFolder";
constexpr std::string_view kOutputFolder = "BuilderOutputFolder";

std::string toLocal(const QString& path) { return QFile::encodeName(path).toStdString(); }

QSpinBox* spinBox(const char* name, int least, int most, int value, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(name);
  box->setRange(least, most);
  box->setValue(value);
  return box;
}

}  // namespace

// The source file, read once per pass, giving the window its turns and its log.
class QCDictionaryBuilderWindow::Source : public TextFileSource {
 public:
  explicit Source(QCDictionaryBuilderWindow& window) : m_window(window) {}

  void rewind() override {
    TextFileSource::rewind();
    ++m_pass;
  }
  // The share of the build done, taking the passes over the source (at most three) as equal.
  double done() const {
    const double pass = size() > 0 ? static_cast<double>(position()) / size() : 0;
    return std::min(1.0, (std::max(m_pass, 1) - 1 + pass) / 3);
  }
  Line nextLine(std::string& line, long count) override {
    const Line got = TextFileSource::nextLine(line, count);
    // Nearly every one of the first lines no UTF-8: the file is in another encoding, and going on
    // would only list its lines.
    constexpr long kJudgedLines = 2000;
    if (m_pass == 1 && linesRead() == kJudgedLines &&
        unconvertibleLines() >= kJudgedLines * 95 / 100) {
      error("The file does not look like UTF-8: nearly all of its first " +
            std::to_string(kJudgedLines) +
            " lines are not UTF-8 text. Choose Code page 1252 as the Encoding and build again\n");
      return Line::Abandoned;
    }
    if (got == Line::Text && (++m_calls & 63) == 0 && !turn()) return Line::Abandoned;
    return got;
  }
  bool keepGoing() override { return (++m_calls & 63) != 0 || turn(); }
  bool pieceRead() override { return turn(); }  // a line of megabytes still gives turns
  void info(const std::string& text) override { m_window.addToLog(text, false); }
  void error(const std::string& text) override { m_window.addToLog(text, true); }

 private:
  bool turn() { return m_window.takeTurn(done()); }

  QCDictionaryBuilderWindow& m_window;
  unsigned m_calls = 0;
  int m_pass = 0;
};

QCDictionaryBuilderWindow::QCDictionaryBuilderWindow(SettingsBackend& settings, QWidget* parent)
    : MaintenanceJobDialog("DictionaryBuilder", kBuilderHelpContext,
                           tr("Choose a source file and a dictionary file, then Build"), settings,
                           parent) {
  setWindowTitle(tr("QEL&Corvanth Dictionary Builder"));
  acceptButton()->setText(tr("&Build"));
  acceptButton()->setObjectName("build");
  closeButton()->setText(tr("&Close"));

  auto* grid = new QGridLayout;
  int row = 0;
  auto addRow = [&](const QString& label, QWidget* field, QWidget* button = nullptr) {
    auto* l = new QLabel(label, this);
    l->setBuddy(field);
    grid->addWidget(l, row, 0,
                    field->inherits("QAbstractScrollArea") ? Qt::AlignTop : Qt::Alignment());
    grid->addWidget(field, row, 1, 1, button ? 1 : 2);
    if (button) grid->addWidget(button, row, 2);
    ++row;
  };

  m_source = new QLineEdit(this);
  m_source->setObjectName("source");
  m_browseSource = new QPushButton(tr("Bro&wse..."), this);
  m_browseSource->setAutoDefault(false);
  connect(m_browseSource, &QPushButton::clicked, this, &QCDictionaryBuilderWindow::chooseSource);
  addRow(tr("Source f&ile:"), m_source, m_browseSource);

  m_encoding = new QComboBox(this);
  m_encoding->setObjectName("encoding");
  m_encoding->addItems({tr("UTF-8"), tr("Code page 1252 (Western European)")});
  addRow(tr("E&ncoding:"), m_encoding);

  m_output = new QLineEdit(this);
  m_output->setObjectName("output");
  m_browseOutput = new QPushButton(tr("Ch&ange..."), this);
  m_browseOutput->setAutoDefault(false);
  connect(m_browseOutput, &QPushButton::clicked, this, &QCDictionaryBuilderWindow::chooseOutput);
  addRow(tr("&Dictionary file:"), m_output, m_browseOutput);
  // Build waits for both files to be named.
  for (QLineEdit* file : {m_source, m_output}) {
    connect(file, &QLineEdit::textChanged, this, [this] { enableControls(!running()); });
  }

  // Optional: how common each entry is, as lines of an entry, a tab and a rank.
  m_ranks = new QLineEdit(this);
  m_ranks->setObjectName("ranks");
  m_ranks->setPlaceholderText(tr("(none: every entry unranked)"));
  m_browseRanks = new QPushButton(tr("Selec&t..."), this);
  m_browseRanks->setAutoDefault(false);
  connect(m_browseRanks, &QPushButton::clicked, this, [this] {
    const QString chosen = UserPrompts::current().openFileIn(
        this, tr("Commonness Ranks"), tr("Text Files (*.txt);;All Files (*)"),
        QFileInfo(m_source->text().trimmed()).absolutePath());
    if (!chosen.isEmpty()) m_ranks->setText(chosen);
  });
  addRow(tr("&Ranks file:"), m_ranks, m_browseRanks);

  m_description = new QPlainTextEdit(this);
  m_description->setObjectName("description");
  m_description->setTabChangesFocus(true);
  m_description->setFixedHeight(m_description->fontMetrics().lineSpacing() * 3 +
                                2 * m_description->frameWidth() + 8);
  addRow(tr("D&escription:"), m_description);

  // The limits the builder applies: 1 to kLongestWord letters, a percentage of the definitions.
  m_shortest = spinBox("shortest", 1, pattern::kLongestWord, 1, this);
  m_longest = spinBox("longest", 1, pattern::kLongestWord, pattern::kLongestWord, this);
  m_common = spinBox("common", 0, 100, 0, this);
  m_common->setSpecialValueText(tr("never"));
  m_common->setToolTip(
      tr("A word found in more than this percentage of the definitions is not "
         "indexed for full-text search"));
  auto* numbers = new QHBoxLayout;
  for (auto [label, box] :
       {std::pair{tr("&Shortest:"), m_shortest}, std::pair{tr("&Longest:"), m_longest},
        std::pair{tr("Co&mmon-word percentage:"), m_common}}) {
    auto* l = new QLabel(label, this);
    l->setBuddy(box);
    numbers->addWidget(l);
    numbers->addWidget(box);
    numbers->addSpacing(12);
  }
  numbers->addStretch(1);
  grid->addLayout(numbers, row++, 1, 1, 2);
  // Longest never falls below shortest, as the builder would raise it.
  connect(m_shortest, &QSpinBox::valueChanged, this,
          [this](int value) { m_longest->setMinimum(value); });

  grid->addWidget(m_progress, row++, 1, 1, 2);

  m_log->setMinimumHeight(m_log->fontMetrics().lineSpacing() * 6);
  addRow(tr("L&og:"), m_log);
  const int logRow = row - 1;

  m_skipped = new QListWidget(this);
  m_skipped->setObjectName("skipped");
  m_skipped->setMaximumHeight(m_skipped->fontMetrics().lineSpacing() * 5 +
                              2 * m_skipped->frameWidth() + 4);
  addRow(tr("S&kipped lines:"), m_skipped);

  grid->addWidget(m_status, row++, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(logRow, 1);

  setMinimumWidth(fontMetrics().averageCharWidth() * 90);
  setUp(grid);
  enableControls(true);
}

QCDictionaryBuilderWindow::~QCDictionaryBuilderWindow() = default;

QStringList QCDictionaryBuilderWindow::skippedLines() const {
  QStringList lines;
  for (int i = 0; i < m_skipped->count(); ++i) lines << m_skipped->item(i)->text();
  return lines;
}

void QCDictionaryBuilderWindow::chooseSource() {
  const QString folder = fromLocalPath(readString(settings(), kSourceFolder, ""));
  const QString chosen = UserPrompts::current().openFileIn(
      this, tr("Dictionary Source File"), tr("Text Files (*.txt);;All Files (*)"), folder);
  if (chosen.isEmpty()) return;
  m_source->setText(chosen);
  settings().writeString(kSourceFolder, toLocal(QFileInfo(chosen).absolutePath()));
  // A new source suggests a dictionary of the same name beside it.
  if (m_output->text().trimmed().isEmpty()) {
    const QFileInfo info(chosen);
    const QString folderOut = fromLocalPath(readString(settings(), kOutputFolder, ""));
    m_output->setText((folderOut.isEmpty() ? info.absolutePath() : folderOut) + "/" +
                      info.completeBaseName() + ".qcd");
  }
}

void QCDictionaryBuilderWindow::chooseOutput() {
  QString suggested = m_output->text().trimmed();
  if (suggested.isEmpty()) suggested = fromLocalPath(readString(settings(), kOutputFolder, ""));
  const QString chosen = UserPrompts::current().saveFile(
      this, tr("Dictionary File"), tr("QEL&Corvanth Dictionary (QCD) (*.qcd);;All Files (*)"),
      suggested);
  if (chosen.isEmpty()) return;
  m_output->setText(QString::fromStdString(withDefaultExtension(chosen.toStdString(), ".qcd")));
  settings().writeString(kOutputFolder, toLocal(QFileInfo(chosen).absolutePath()));
}

void QCDictionaryBuilderWindow::enableControls(bool enabled) {
  for (QWidget* w : {static_cast<QWidget*>(m_source), static_cast<QWidget*>(m_browseSource),
                     static_cast<QWidget*>(m_encoding), static_cast<QWidget*>(m_output),
                     static_cast<QWidget*>(m_browseOutput), static_cast<QWidget*>(m_ranks),
                     static_cast<QWidget*>(m_browseRanks), static_cast<QWidget*>(m_description),
                     static_cast<QWidget*>(m_shortest), static_cast<QWidget*>(m_longest),
                     static_cast<QWidget*>(m_common), static_cast<QWidget*>(acceptButton())}) {
    w->setEnabled(enabled);
  }
  acceptButton()->setEnabled(enabled && !m_source->text().trimmed().isEmpty() &&
                             !m_output->text().trimmed().isEmpty());
}

void QCDictionaryBuilderWindow::addToLog(const std::string& cp1252Text, bool failure) {
  // The reader reports a line it skips by its number. Only the first ones are listed: a log that
  // grows by a line for each of a binary file's lines would cost more than the build.
  const bool skippedLine = failure && cp1252Text.starts_with("line ");
  if (skippedLine && ++m_skippedCount > kListedSkippedLines) return;
  const QString text = fromCp1252(cp1252Text).trimmed();
  MaintenanceJobDialog::addToLog(text);
  if (skippedLine) m_skipped->addItem(text);
}

bool QCDictionaryBuilderWindow::apply() {
  const Outcome outcome = runJob(m_output->text().trimmed(), [this] {
    m_skipped->clear();
    m_skippedCount = 0;
    return build();
  });
  if (outcome == Outcome::kDeclined) return false;
  if (m_skippedCount > kListedSkippedLines) {
    m_log->appendPlainText(tr("... and %n more skipped line(s), not listed", "",
                              static_cast<int>(m_skippedCount - kListedSkippedLines)));
  }
  if (outcome == Outcome::kDone) {
    m_status->setText(m_skippedCount == 0 ? tr("Dictionary built")
                                          : tr("Dictionary built - %n line(s) skipped", "",
                                               static_cast<int>(m_skippedCount)));
  } else {
    m_status->setText(outcome == Outcome::kCancelled
                          ? tr("Build cancelled - the dictionary file is unchanged")
                          : tr("Build failed - the dictionary file is unchanged"));
  }
  emit buildFinished(outcome == Outcome::kDone);
  return false;
}

bool QCDictionaryBuilderWindow::build() {
  const QString sourcePath = m_source->text().trimmed();
  const QString outputText = m_output->text().trimmed();
  if (sourcePath.isEmpty() || outputText.isEmpty()) {
    addToLog("Give the source file and the dictionary file\n", true);
    return false;
  }
  const std::string source = toLocal(QFileInfo(sourcePath).absoluteFilePath());
  BuildParameters p;
  p.fold = lowerCaseFoldTable();
  p.outputPath = toLocal(QFileInfo(outputText).absoluteFilePath());
  p.backupPath = backupPathFor(p.outputPath);
  p.shortest = m_shortest->value();
  p.longest = m_longest->value();
  p.commonWordPercentage = m_common->value();
  if (!cp1252::fromUtf8(m_description->toPlainText().toStdString(), p.description)) {
    addToLog("The description has a character that a dictionary cannot hold\n", true);
    return false;
  }
  // Writing the dictionary over its own source, or keeping the old dictionary in the source's
  // place ("words.bak" is the backup of "words.qcd"), would lose the source.
  if (sameFile(source, p.outputPath)) {
    addToLog(toCp1252(tr("The dictionary file is the source file; choose another\n")), true);
    return false;
  }
  if (sameFile(source, p.backupPath)) {
    addToLog(toCp1252(tr("The source file is where the dictionary file's old contents would be "
                         "kept; rename it or choose another dictionary file\n")),
             true);
    return false;
  }
  Source lines(*this);
  const auto encoding = m_encoding->currentIndex() == static_cast<int>(Encoding::kCp1252)
                            ? TextFileSource::Encoding::Cp1252
                            : TextFileSource::Encoding::Utf8;
  if (const Status opened = lines.open(source, encoding); !opened.ok()) {
    addToLog("Couldn't read \"" + toCp1252(sourcePath) + "\" - " + opened.reason() + "\n", true);
    return false;
  }
  CommonnessRanks ranks;
  if (const QString ranksPath = m_ranks->text().trimmed(); !ranksPath.isEmpty()) {
    std::vector<std::string> skipped;
    if (const Status read = ranks.addText(toLocal(ranksPath), skipped); !read.ok()) {
      addToLog("Couldn't read the ranks \"" + toCp1252(ranksPath) + "\" - " + read.reason() + "\n",
               true);
      return false;
    }
    for (const std::string& line : skipped) addToLog("ranks " + line + " - line skipped\n", true);
  }
  p.ranks = &ranks;
  if (!buildDictionary(lines, p)) return false;
  prepareSideFile(p.outputPath);  // its first search is then as fast as the rest
  return true;
}

}  // namespace qel
