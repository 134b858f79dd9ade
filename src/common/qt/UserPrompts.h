// The message boxes the program asks, behind one small interface: tests answer them in advance
// instead of blocking on a modal box.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;

namespace qel {
class SettingsBackend;
}

namespace qel {

class UserPrompts {
 public:
  enum class Answer { kRetry, kCancel, kYes, kNo, kOk };

  virtual ~UserPrompts() = default;
  virtual void warning(QWidget* parent, const QString& caption, const QString& text) = 0;
  // A report with the information icon and OK.
  virtual void information(QWidget* parent, const QString& caption, const QString& text) = 0;
  // Retry or Cancel.
  virtual Answer retryOrCancel(QWidget* parent, const QString& caption, const QString& text) = 0;
  // A question with Yes and No, No the default.
  virtual Answer yesOrNo(QWidget* parent, const QString& caption, const QString& text) = 0;
  // The same with the exclamation icon: before something is destroyed.
  virtual Answer warningYesOrNo(QWidget* parent, const QString& caption, const QString& text);
  // Existing files chosen in an open-file dialog; none when it was cancelled.
  virtual QStringList openFiles(QWidget* parent, const QString& caption, const QString& filter) = 0;
  // The same, starting in `folder` (the folder last used, say).
  virtual QStringList openFilesIn(QWidget* parent, const QString& caption, const QString& filter,
                                  const QString& folder);
  // One existing file chosen in an open-file dialog; empty when it was cancelled.
  virtual QString openFile(QWidget* parent, const QString& caption, const QString& filter) = 0;
  // The same, starting in `folder` (the folder last used, say).
  virtual QString openFileIn(QWidget* parent, const QString& caption, const QString& filter,
                             const QString& folder);
  // A file name chosen in a save dialog that starts at `suggested`; empty when it was cancelled.
  // The dialog does not ask about replacing a file: the caller does, with mayReplaceFile(), when
  // it writes.
  virtual QString saveFile(QWidget* parent, const QString& caption, const QString& filter,
                           const QString& suggested) = 0;
  // The same with a choice of file types, one filter each: `type` is the one offered first and
  // receives the one chosen.
  virtual QString saveFileOfType(QWidget* parent, const QString& caption,
                                 const QStringList& filters, const QString& suggested, int& type);
  // A font and its text colour chosen in the font chooser, which starts at them; false, with both
  // unchanged, when it was cancelled.
  virtual bool chooseFont(QWidget* parent, const QString& caption, QFont& font, QColor& colour) = 0;
  // A colour chosen in the colour chooser that starts at `initial`; invalid when it was cancelled.
  virtual QColor chooseColour(QWidget* parent, const QString& caption, const QColor& initial) = 0;
  // A folder chosen in a folder browser that starts at `start`; empty when it was cancelled.
  virtual QString chooseFolder(QWidget* parent, const QString& caption, const QString& start) = 0;

  // The prompts in use: real message boxes unless a test installed its own.
  static UserPrompts& current();
  static void install(UserPrompts* prompts);  // null restores the message boxes
  // Where the file dialogs keep the size the user gives them; until set, and until the user
  // resizes one, they open wide enough to show every column.
  static void keepFileDialogSizeIn(SettingsBackend* settings);
};

// True when `path` may be written: no file is there, or the user agreed to replace it. Every
// save asks the same question, once, with the exclamation icon.
bool mayReplaceFile(QWidget* parent, const QString& path);

}  // namespace qel
