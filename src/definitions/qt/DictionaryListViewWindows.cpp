// The Dictionary List dialog.
#include "definitions/qt/DictionaryListViewWindows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/HelpContexts.h"
#include "app/SettingsFormat.h"
#include "common/qt/HelpWindow.h"
#include "common/qt/UserPrompts.h"
#include "definitions/qt/QELDictionaryPropertiesWindows.h"
#include "platform/qt/CoreText.h"

namespace qel {
namespace {

// Paths compared as the file system does: absolute and cleaned, then exactly.
QString normalPath(const QString& path) {
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// A one-dictionary list of `path` when the file is a valid dictionary.
std::unique_ptr<QCDictionaryList> openValid(const std::string& path) {
  auto list = std::make_unique<QCDictionaryList>(std::vector<std::string>{path});
  if (!list->recheck(0)) return nullptr;
  return list;
}

// The row of the list's selected item, or -1.
int selectedRow(const QListWidget* list) {
  const QList<QListWidgetItem*> items = list->selectedItems();
  return items.isEmpty() ? -1 : list->row(items.first());
}

// A list shows the name of a file without its folder and extension.
QString nameOf(const QString& fileName) { return QFileInfo(fileName).completeBaseName(); }

}  // namespace

DictionaryListViewWindows::DictionaryListViewWindows(const QString& listText,
                                                     SettingsBackend& settings,
                                                     const QString& programFolder, QWidget* parent)
    : PropertiesDialog(kDialogName, help::kDictionaryListDialog, Buttons::kOkCancel, settings,
                       parent),
      m_programFolder(localPath(programFolder)),
      m_selectedList(new QListWidget(this)),
      m_otherList(new QListWidget(this)),
      m_folderEdit(new QLineEdit(this)),
      m_promote(new QPushButton(tr("&Promote"), this)),
      m_demote(new QPushButton(tr("&Demote"), this)),
      m_add(new QPushButton(tr("< &Add"), this)),
      m_remove(new QPushButton(tr("> &Remove"), this)),
      m_properties(new QPushButton(tr("Prop&erties..."), this)) {
  setWindowTitle(tr("Dictionary List"));
  m_selectedList->setObjectName("selected");
  m_otherList->setObjectName("other");
  m_folderEdit->setObjectName("folder");
  m_folderEdit->setReadOnly(true);
  m_promote->setObjectName("promote");
  m_demote->setObjectName("demote");
  m_add->setObjectName("add");
  m_remove->setObjectName("remove");
  m_properties->setObjectName("properties");
  for (QPushButton* button : {m_promote, m_demote, m_add, m_remove, m_properties})
    button->setAutoDefault(false);

  // The dictionaries of the list text that are valid, in its order; the others are dropped.
  const QCDictionaryList given(localPath(listText));
  for (int i = 0; i < given.count(); ++i) {
    std::unique_ptr<QCDictionaryList> one = openValid(given.path(i));
    if (!one) continue;
    auto* item = new QListWidgetItem(nameOf(fromLocalPath(one->path(0))), m_selectedList);
    item->setToolTip(fromCp1252(one->propertiesText(0)));
    m_selected.push_back(std::move(one));
  }

  const std::string stored = readDialogString(settings, kDialogName, kFolderValue, kDefaultFolder);
  m_folder = normalPath(fromLocalPath(resolveSettingPath(stored, m_programFolder)));
  m_folderEdit->setText(QDir::toNativeSeparators(m_folder));
  fillOther();

  auto* selectedLabel = new QLabel(tr("&Selected dictionaries:"), this);
  selectedLabel->setBuddy(m_selectedList);
  auto* otherLabel = new QLabel(tr("O&ther dictionaries:"), this);
  otherLabel->setBuddy(m_otherList);
  auto* folderLabel = new QLabel(tr("Other dictionaries &folder:"), this);
  folderLabel->setBuddy(m_folderEdit);
  auto* browseButton = new QPushButton(tr("&Browse..."), this);
  browseButton->setObjectName("browse");
  browseButton->setAutoDefault(false);

  auto* middle = new QVBoxLayout;
  middle->addWidget(m_promote);
  middle->addWidget(m_demote);
  middle->addSpacing(fontMetrics().height());
  middle->addWidget(m_add);
  middle->addWidget(m_remove);
  middle->addSpacing(fontMetrics().height());
  middle->addWidget(m_properties);
  middle->addStretch();

  auto* grid = new QGridLayout;
  grid->addWidget(selectedLabel, 0, 0);
  grid->addWidget(m_selectedList, 1, 0);
  grid->addLayout(middle, 1, 1);
  grid->addWidget(otherLabel, 0, 2);
  grid->addWidget(m_otherList, 1, 2);
  auto* folderRow = new QHBoxLayout;
  folderRow->addWidget(folderLabel);
  folderRow->addWidget(m_folderEdit, 1);
  folderRow->addWidget(browseButton);
  grid->addLayout(folderRow, 2, 0, 1, 3);

  connect(m_add, &QPushButton::clicked, this, &DictionaryListViewWindows::addDictionary);
  connect(m_remove, &QPushButton::clicked, this, &DictionaryListViewWindows::removeDictionary);
  connect(m_promote, &QPushButton::clicked, this, [this] { moveDictionary(-1); });
  connect(m_demote, &QPushButton::clicked, this, [this] { moveDictionary(+1); });
  connect(m_properties, &QPushButton::clicked, this, &DictionaryListViewWindows::showProperties);
  connect(browseButton, &QPushButton::clicked, this, &DictionaryListViewWindows::browse);
  connect(m_selectedList, &QListWidget::itemSelectionChanged, this,
          [this] { selectionChanged(m_selectedList); });
  connect(m_otherList, &QListWidget::itemSelectionChanged, this,
          [this] { selectionChanged(m_otherList); });
  // A double-click does what the button beside it would, when that button could.
  connect(m_selectedList, &QListWidget::itemDoubleClicked, this, [this] {
    if (m_remove->isEnabled()) removeDictionary();
  });
  connect(m_otherList, &QListWidget::itemDoubleClicked, this, [this] {
    if (m_add->isEnabled()) addDictionary();
  });

  updateStates();
  setMinimumWidth(fontMetrics().averageCharWidth() * 72);
  setUp(grid);
}

DictionaryListViewWindows::~DictionaryListViewWindows() = default;

bool DictionaryListViewWindows::isSelected(const QString& path) const {
  const QString normal = normalPath(path);
  for (const auto& one : m_selected) {
    if (normalPath(fromLocalPath(one->path(0))) == normal) return true;
  }
  return false;
}

// Every valid dictionary of the folder that is not selected, by name.
void DictionaryListViewWindows::fillOther() {
  const QSignalBlocker quiet(m_otherList);
  m_otherList->clear();
  const QDir folder(m_folder);
  for (const QString& fileName : folder.entryList(QDir::Files | QDir::Readable, QDir::Name)) {
    const QString path = folder.filePath(fileName);
    if (!isSelected(path) && openValid(localPath(path))) insertOther(fileName);
  }
  updateStates();
}

// In order of name, as people read it: case does not part "apple" from "Banana".
void DictionaryListViewWindows::insertOther(const QString& fileName) {
  const QString name = nameOf(fileName);
  int row = 0;
  while (row < m_otherList->count() &&
         QString::compare(m_otherList->item(row)->text(), name, Qt::CaseInsensitive) <= 0)
    ++row;
  auto* item = new QListWidgetItem(name);
  item->setData(Qt::UserRole, fileName);
  item->setToolTip(QDir::toNativeSeparators(QDir(m_folder).filePath(fileName)));
  m_otherList->insertItem(row, item);
}

void DictionaryListViewWindows::addDictionary() {
  const int row = selectedRow(m_otherList);
  if (row < 0) return;
  const QString fileName = m_otherList->item(row)->data(Qt::UserRole).toString();
  std::unique_ptr<QCDictionaryList> one = openValid(localPath(QDir(m_folder).filePath(fileName)));
  // A file that changed or went since the list was filled is no dictionary to add any more.
  if (one) {
    auto* item = new QListWidgetItem(nameOf(fileName), m_selectedList);
    item->setToolTip(fromCp1252(one->propertiesText(0)));
    m_selected.push_back(std::move(one));
  }
  delete m_otherList->takeItem(row);
  if (m_otherList->count() > 0) m_otherList->setCurrentRow(std::min(row, m_otherList->count() - 1));
  updateStates();
}

void DictionaryListViewWindows::removeDictionary() {
  const int row = selectedRow(m_selectedList);
  if (row < 0) return;
  const QString path = normalPath(fromLocalPath(m_selected[row]->path(0)));
  m_selected.erase(m_selected.begin() + row);
  {
    const QSignalBlocker quiet(m_selectedList);
    delete m_selectedList->takeItem(row);
  }
  // Only a dictionary of the folder belongs among the other dictionaries.
  const QFileInfo file(path);
  if (normalPath(file.absolutePath()) == m_folder) insertOther(file.fileName());
  if (m_selectedList->count() > 0) {
    m_selectedList->setCurrentRow(std::min(row, m_selectedList->count() - 1));
  }
  updateStates();
}

void DictionaryListViewWindows::moveDictionary(int by) {
  const int row = selectedRow(m_selectedList);
  const int to = row + by;
  if (row < 0 || to < 0 || to >= m_selectedList->count()) return;
  std::swap(m_selected[row], m_selected[to]);
  {
    const QSignalBlocker quiet(m_selectedList);
    QListWidgetItem* item = m_selectedList->takeItem(row);
    m_selectedList->insertItem(to, item);
  }
  m_selectedList->setCurrentRow(to);
  updateStates();
}

// The selected dictionary's properties, or those of the other dictionary selected.
void DictionaryListViewWindows::showProperties() {
  std::unique_ptr<QCDictionaryList> other;
  QCDictionaryList* list = nullptr;
  if (const int row = selectedRow(m_selectedList); row >= 0) {
    list = m_selected[row].get();
  } else if (const int row = selectedRow(m_otherList); row >= 0) {
    const QString fileName = m_otherList->item(row)->data(Qt::UserRole).toString();
    other = std::make_unique<QCDictionaryList>(
        std::vector<std::string>{localPath(QDir(m_folder).filePath(fileName))});
    list = other.get();
  }
  if (list == nullptr) return;
  QELDictionaryPropertiesWindows dialog(*list, 0, settings(), this);
  connect(&dialog, &PropertiesDialog::helpRequested, &dialog,
          [&dialog](int context) { showHelp(context, &dialog); });
  dialog.exec();
}

void DictionaryListViewWindows::browse() {
  const QString chosen = UserPrompts::current().chooseFolder(
      this, tr("Select the folder where your dictionaries are stored"), m_folder);
  if (chosen.isEmpty()) return;
  m_folder = normalPath(chosen);
  m_folderEdit->setText(QDir::toNativeSeparators(m_folder));
  fillOther();
  writeDialogString(settings(), kDialogName, kFolderValue, m_folder.toStdString());
}

// A selection in one list clears the other's, so that the buttons act on one dictionary only.
void DictionaryListViewWindows::selectionChanged(QListWidget* list) {
  QListWidget* other = list == m_selectedList ? m_otherList : m_selectedList;
  if (selectedRow(list) >= 0 && selectedRow(other) >= 0) {
    const QSignalBlocker quiet(other);
    other->clearSelection();
  }
  updateStates();
}

void DictionaryListViewWindows::updateStates() {
  const int selected = selectedRow(m_selectedList);
  const int count = static_cast<int>(m_selected.size());
  const bool other = selectedRow(m_otherList) >= 0;
  m_add->setEnabled(other);
  m_remove->setEnabled(selected >= 0);
  m_promote->setEnabled(selected > 0);
  m_demote->setEnabled(selected >= 0 && selected + 1 < count);
  m_properties->setEnabled(selected >= 0 || other);
  if (acceptButton() != nullptr) acceptButton()->setEnabled(count > 0);
}

bool DictionaryListViewWindows::apply() {
  QStringList paths;
  for (const auto& one : m_selected) paths << fromLocalPath(one->path(0));
  m_result = paths.join(u';');
  return PropertiesDialog::apply();
}

}  // namespace qel
