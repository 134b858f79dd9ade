// Message boxes, unless a test answers instead.
#include "common/qt/UserPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <cstdio>
#include <string>

#include "app/HelpContexts.h"
#include "app/SettingsBackend.h"
#include "common/qt/HelpWindow.h"
#include "properties/FontChooserDialog.h"

namespace qel {
namespace {

// While a file dialog is open, F1 in it opens the help on files, as F1 does in every other window
// of the program. The dialog is Qt's own, made inside the call, so the key is caught on its way.
class FileDialogHelp : public QObject {
 public:
  FileDialogHelp() { qApp->installEventFilter(this); }
  ~FileDialogHelp() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
      return false;
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return false;
    showHelp(help::kFileMenu, dialog);
    return true;
  }
};

constexpr char kFileDialogSize[] = "FileDialogSize";  // "width,height"
SettingsBackend* g_fileDialogSettings = nullptr;

// Qt's own file dialog opens too narrow for its Size and Date columns: it opens wide enough for
// them, or at the size the user last gave one.
int execSized(QFileDialog& dialog) {
  QSize size;
  std::string stored;
  if (g_fileDialogSettings && g_fileDialogSettings->readString(kFileDialogSize, stored)) {
    int width = 0, height = 0;
    if (std::sscanf(stored.c_str(), "%d,%d", &width, &height) == 2) size = QSize(width, height);
  }
  if (!size.isValid() || size.width() < 200 || size.height() < 150) {
    const QFontMetrics metrics(dialog.font());
    size = QSize(metrics.averageCharWidth() * 120, metrics.lineSpacing() * 28);
  }
  if (const QScreen* screen = dialog.screen()) size = size.boundedTo(screen->availableSize());
  dialog.resize(size);
  const int result = dialog.exec();
  if (g_fileDialogSettings) {
    g_fileDialogSettings->writeString(
        kFileDialogSize, std::to_string(dialog.width()) + "," + std::to_string(dialog.height()));
  }
  return result;
}

QStringList chooseFiles(QWidget* parent, const QString& caption, const QString& start,
                        const QString& filter, QFileDialog::FileMode mode,
                        QString* selectedFilter = nullptr) {
  const FileDialogHelp f1;
  QFileDialog dialog(parent, caption, start, filter);
  dialog.setFileMode(mode);
  if (mode == QFileDialog::AnyFile) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
  }
  if (mode == QFileDialog::Directory) dialog.setOption(QFileDialog::ShowDirsOnly);
  if (selectedFilter && !selectedFilter->isEmpty()) dialog.selectNameFilter(*selectedFilter);
  if (execSized(dialog) != QDialog::Accepted) return {};
  if (selectedFilter) *selectedFilter = dialog.selectedNameFilter();
  return dialog.selectedFiles();
}

QString chooseFile(QWidget* parent, const QString& caption, const QString& start,
                   const QString& filter, QFileDialog::FileMode mode,
                   QString* selectedFilter = nullptr) {
  return chooseFiles(parent, caption, start, filter, mode, selectedFilter).value(0);
}

class MessageBoxes : public UserPrompts {
 public:
  void warning(QWidget* parent, const QString& caption, const QString& text) override {
    QMessageBox::warning(parent, caption, text);
  }
  void information(QWidget* parent, const QString& caption, const QString& text) override {
    QMessageBox::information(parent, caption, text);
  }
  Answer retryOrCancel(QWidget* parent, const QString& caption, const QString& text) override {
    const auto button = QMessageBox::critical(
        parent, caption, text, QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry);
    return button == QMessageBox::Retry ? Answer::kRetry : Answer::kCancel;
  }
  Answer yesOrNo(QWidget* parent, const QString& caption, const QString& text) override {
    const auto button = QMessageBox::question(parent, caption, text,
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return button == QMessageBox::Yes ? Answer::kYes : Answer::kNo;
  }
  Answer warningYesOrNo(QWidget* parent, const QString& caption, const QString& text) override {
    const auto button = QMessageBox::warning(parent, caption, text,
                                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return button == QMessageBox::Yes ? Answer::kYes : Answer::kNo;
  }
  QStringList openFiles(QWidget* parent, const QString& caption, const QString& filter) override {
    return chooseFiles(parent, caption, QString(), filter, QFileDialog::ExistingFiles);
  }
  QString openFile(QWidget* parent, const QString& caption, const QString& filter) override {
    return chooseFile(parent, caption, QString(), filter, QFileDialog::ExistingFile);
  }
  QStringList openFilesIn(QWidget* parent, const QString& caption, const QString& filter,
                          const QString& folder) override {
    return chooseFiles(parent, caption, folder, filter, QFileDialog::ExistingFiles);
  }
  QString openFileIn(QWidget* parent, const QString& caption, const QString& filter,
                     const QString& folder) override {
    return chooseFile(parent, caption, folder, filter, QFileDialog::ExistingFile);
  }
  QString saveFile(QWidget* parent, const QString& caption, const QString& filter,
                   const QString& suggested) override {
    return chooseFile(parent, caption, suggested, filter, QFileDialog::AnyFile);
  }
  QString saveFileOfType(QWidget* parent, const QString& caption, const QStringList& filters,
                         const QString& suggested, int& type) override {
    QString selected = filters.value(type);
    const QString chosen =
        chooseFile(parent, caption, suggested, filters.join(";;"), QFileDialog::AnyFile, &selected);
    type = std::max<int>(static_cast<int>(filters.indexOf(selected)), 0);
    return chosen;
  }
  bool chooseFont(QWidget* parent, const QString& caption, QFont& font, QColor& colour) override {
    return FontChooserDialog::choose(parent, caption, font, colour);
  }
  QColor chooseColour(QWidget* parent, const QString& caption, const QColor& initial) override {
    return QColorDialog::getColor(initial, parent, caption);
  }
  QString chooseFolder(QWidget* parent, const QString& caption, const QString& start) override {
    return chooseFile(parent, caption, start, QString(), QFileDialog::Directory);
  }
};

MessageBoxes g_messageBoxes;
UserPrompts* g_current = &g_messageBoxes;

}  // namespace

QString UserPrompts::saveFileOfType(QWidget* parent, const QString& caption,
                                    const QStringList& filters, const QString& suggested,
                                    int& type) {
  return saveFile(parent, caption, filters.value(type), suggested);
}

QStringList UserPrompts::openFilesIn(QWidget* parent, const QString& caption, const QString& filter,
                                     const QString&) {
  return openFiles(parent, caption, filter);
}

QString UserPrompts::openFileIn(QWidget* parent, const QString& caption, const QString& filter,
                                const QString&) {
  return openFile(parent, caption, filter);
}

UserPrompts::Answer UserPrompts::warningYesOrNo(QWidget* parent, const QString& caption,
                                                const QString& text) {
  return yesOrNo(parent, caption, text);
}

bool mayReplaceFile(QWidget* parent, const QString& path) {
  if (!QFileInfo::exists(path)) return true;
  return UserPrompts::current().warningYesOrNo(
             parent, QObject::tr("Save As"),
             QObject::tr("%1 already exists.\nDo you want to replace it?").arg(path)) ==
         UserPrompts::Answer::kYes;
}

UserPrompts& UserPrompts::current() { return *g_current; }

void UserPrompts::install(UserPrompts* prompts) { g_current = prompts ? prompts : &g_messageBoxes; }

void UserPrompts::keepFileDialogSizeIn(SettingsBackend* settings) {
  g_fileDialogSettings = settings;
}

}  // namespace qel
