// Message boxes, unless a test answers instead.
#include "common/qt/UserPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMessageBox>

#include "app/HelpContexts.h"
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
    const FileDialogHelp f1;
    return QFileDialog::getOpenFileNames(parent, caption, QString(), filter);
  }
  QString openFile(QWidget* parent, const QString& caption, const QString& filter) override {
    const FileDialogHelp f1;
    return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
  }
  QStringList openFilesIn(QWidget* parent, const QString& caption, const QString& filter,
                          const QString& folder) override {
    const FileDialogHelp f1;
    return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
  }
  QString openFileIn(QWidget* parent, const QString& caption, const QString& filter,
                     const QString& folder) override {
    const FileDialogHelp f1;
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
  }
  QString saveFile(QWidget* parent, const QString& caption, const QString& filter,
                   const QString& suggested) override {
    const FileDialogHelp f1;
    return QFileDialog::getSaveFileName(parent, caption, suggested, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
  }
  QString saveFileOfType(QWidget* parent, const QString& caption, const QStringList& filters,
                         const QString& suggested, int& type) override {
    QString selected = filters.value(type);
    const FileDialogHelp f1;
    const QString chosen =
        QFileDialog::getSaveFileName(parent, caption, suggested, filters.join(";;"), &selected,
                                     QFileDialog::DontConfirmOverwrite);
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
    const FileDialogHelp f1;
    return QFileDialog::getExistingDirectory(parent, caption, start);
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

}  // namespace qel
