// The dictionary save dialog: its controls, the status line, and Save and Cancel around the build.
#include "maintenance/qt/QCDictionarySaveDialog.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "common/qt/UserPrompts.h"
#include "dictionary/QCDictionaryList.h"
#include "platform/Cp1252.h"
#include "platform/qt/CoreText.h"
#include "search/ResultsText.h"

namespace qel {
namespace {

std::string toLocal(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

QCDictionarySaveDialog::QCDictionarySaveDialog(const Request& request, const QString& caption,
                                               std::string_view dialogName, int helpContext,
                                               SettingsBackend& settings, QWidget* parent)
    : PropertiesDialog(dialogName, helpContext, Buttons::kOkCancel, settings, parent),
      m_dictionaries(*request.dictionaries),
      m_dictionary(request.dictionary),
      m_maintainer(std::make_unique<DictionaryMaintainer>(*request.results, *request.dictionaries,
                                                          request.shortest, request.longest)) {
  setWindowTitle(caption);
  acceptButton()->setText(tr("&Save"));
  acceptButton()->setObjectName("save");

  auto* grid = new QGridLayout;
  int row = 0;
  m_list = new QListWidget(this);
  m_list->setObjectName("dictionaries");
  m_list->setSelectionMode(QAbstractItemView::MultiSelection);
  for (int i = 0; i < m_dictionaries.count(); ++i) {
    auto* item = new QListWidgetItem(fromLocalPath(m_dictionaries.name(i)), m_list);
    item->setToolTip(fromLocalPath(m_dictionaries.path(i)));
  }
  m_list->setMaximumHeight(m_list->sizeHintForRow(0) * 5 + 2 * m_list->frameWidth() + 4);
  auto* listLabel = new QLabel(tr("&Dictionaries to rebuild:"), this);
  listLabel->setBuddy(m_list);
  grid->addWidget(listLabel, row, 0, Qt::AlignTop);
  grid->addWidget(m_list, row++, 1, 1, 2);
  // One target: the list has nothing to choose.
  listLabel->setVisible(multipleMode());
  m_list->setVisible(multipleMode());
  connect(m_list, &QListWidget::itemSelectionChanged, this, &QCDictionarySaveDialog::updateStatus);

  m_file = new QLineEdit(request.path, this);
  if (!request.path.isEmpty()) m_askedPath = QFileInfo(request.path).absoluteFilePath();
  m_file->setObjectName("file");
  auto* fileLabel = new QLabel(tr("&File:"), this);
  fileLabel->setBuddy(m_file);
  m_change = new QPushButton(tr("Ch&ange..."), this);
  m_change->setObjectName("change");
  m_change->setAutoDefault(false);
  connect(m_change, &QPushButton::clicked, this, &QCDictionarySaveDialog::chooseFile);
  grid->addWidget(fileLabel, row, 0);
  grid->addWidget(m_file, row, 1);
  grid->addWidget(m_change, row++, 2);

  m_description = new QPlainTextEdit(request.description, this);
  m_description->setObjectName("description");
  m_description->setTabChangesFocus(true);
  m_description->setFixedHeight(m_description->fontMetrics().lineSpacing() * 3 +
                                2 * m_description->frameWidth() + 8);
  auto* descriptionLabel = new QLabel(tr("D&escription:"), this);
  descriptionLabel->setBuddy(m_description);
  grid->addWidget(descriptionLabel, row, 0, Qt::AlignTop);
  grid->addWidget(m_description, row++, 1, 1, 2);
  // Each rebuilt dictionary keeps its own file and description.
  for (QWidget* single : {static_cast<QWidget*>(fileLabel), static_cast<QWidget*>(m_file),
                          static_cast<QWidget*>(m_change), static_cast<QWidget*>(descriptionLabel),
                          static_cast<QWidget*>(m_description)}) {
    single->setVisible(!multipleMode());
  }

  m_log = new QPlainTextEdit(this);
  m_log->setObjectName("log");
  m_log->setReadOnly(true);
  m_log->setTabChangesFocus(true);
  m_log->setMinimumHeight(m_log->fontMetrics().lineSpacing() * 6);
  auto* logLabel = new QLabel(tr("&Log:"), this);
  logLabel->setBuddy(m_log);
  grid->addWidget(logLabel, row, 0, Qt::AlignTop);
  grid->addWidget(m_log, row++, 1, 1, 2);

  m_status = new QLabel(this);
  m_status->setObjectName("status");
  m_status->setFrameShape(QFrame::StyledPanel);
  m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
  grid->addWidget(m_status, row++, 0, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(row - 2, 1);

  m_maintainer->setYield([] { QApplication::processEvents(); });
  m_maintainer->setLogListener([this](const std::string& line) {
    m_log->appendPlainText(fromCp1252(line).trimmed());
    setStatus(fromCp1252(line).trimmed());
  });
  // Wide enough for a full path in most folders.
  setMinimumWidth(fontMetrics().averageCharWidth() * 90);
  setUp(grid);
  updateStatus();
}

QCDictionarySaveDialog::~QCDictionarySaveDialog() = default;

QString QCDictionarySaveDialog::logText() const { return m_log->toPlainText(); }
QString QCDictionarySaveDialog::statusText() const { return m_status->text(); }

void QCDictionarySaveDialog::setStatus(const QString& text) { m_status->setText(text); }

// Ready with one target; in the multiple mode once a dictionary is selected.
void QCDictionarySaveDialog::updateStatus() {
  if (m_maintainer->state() == DictionaryMaintainer::State::kSaving) return;
  const bool ready = !multipleMode() || !m_list->selectedItems().isEmpty();
  m_maintainer->setState(ready ? DictionaryMaintainer::State::kReady
                               : DictionaryMaintainer::State::kNothing);
  setStatus(ready ? tr("Use Save to continue with the current settings")
                  : tr("Select the dictionaries to be rebuilt"));
}

void QCDictionarySaveDialog::chooseFile() {
  QString chosen = UserPrompts::current().saveFile(
      this, tr("Create Expurgated Dictionary"),
      tr("QEL&Corvanth Dictionary (QCD) (*.qcd);;All Files (*)"), m_file->text());
  if (chosen.isEmpty()) return;
  m_file->setText(QString::fromStdString(withDefaultExtension(chosen.toStdString(), ".qcd")));
}

void QCDictionarySaveDialog::setControlsEnabled(bool enabled) {
  for (QWidget* w : {static_cast<QWidget*>(m_list), static_cast<QWidget*>(m_file),
                     static_cast<QWidget*>(m_change), static_cast<QWidget*>(m_description),
                     static_cast<QWidget*>(acceptButton())}) {
    w->setEnabled(enabled);
  }
}

bool QCDictionarySaveDialog::apply() {
  if (m_maintainer->state() != DictionaryMaintainer::State::kReady) return false;
  m_maintainer->clearLog();
  m_log->clear();
  setControlsEnabled(false);
  m_maintainer->setState(DictionaryMaintainer::State::kSaving);
  QApplication::setOverrideCursor(Qt::BusyCursor);
  const bool saved = multipleMode() ? saveSelected() : saveSingle();
  QApplication::restoreOverrideCursor();
  if (saved && m_maintainer->state() == DictionaryMaintainer::State::kSaving) {
    m_maintainer->setState(DictionaryMaintainer::State::kFinished);
    return true;
  }
  m_maintainer->setState(DictionaryMaintainer::State::kReady);
  setControlsEnabled(true);
  if (!saved && !m_maintainer->log().empty()) {
    UserPrompts::current().warning(this, tr("Dictionary Save Failed"),
                                   fromCp1252(m_maintainer->log()).trimmed());
  }
  updateStatus();
  return false;
}

bool QCDictionarySaveDialog::saveSingle() {
  const QString file = m_file->text().trimmed();
  std::string description;
  if (file.isEmpty()) {
    m_maintainer->error("Give the file to save the dictionary in\n");
    return false;
  }
  if (!cp1252::fromUtf8(m_description->toPlainText().toStdString(), description)) {
    m_maintainer->error("The description has a character that a dictionary cannot hold\n");
    return false;
  }
  const QString target = QFileInfo(file).absoluteFilePath();
  if (target != m_askedPath && !mayReplaceFile(this, target)) return false;
  return m_maintainer->save(toLocal(target), description, m_dictionary);
}

// Each selected dictionary in list order is written over with its own alphabet and description;
// the first failure ends the round.
bool QCDictionarySaveDialog::saveSelected() {
  for (int i = 0; i < m_list->count(); ++i) {
    if (!m_list->item(i)->isSelected()) continue;
    const std::string description =
        m_dictionaries.recheck(i) ? m_dictionaries.description(i) : std::string();
    if (!m_maintainer->save(m_dictionaries.path(i), description, i)) return false;
  }
  return true;
}

void QCDictionarySaveDialog::done(int result) {
  if (m_maintainer->state() == DictionaryMaintainer::State::kSaving) {
    // The build stops at its next line or entry; the dialog stays for its log.
    m_maintainer->setState(DictionaryMaintainer::State::kReady);
    return;
  }
  PropertiesDialog::done(result);
}

}  // namespace qel
