// Answers the program's message boxes in advance and records what they said.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

#include "common/qt/UserPrompts.h"

namespace qel::test {

class RecordingPrompts : public UserPrompts {
 public:
  // Answers while it lives; then the prompts it stood in for answer again.
  RecordingPrompts() : m_previous(&UserPrompts::current()) { UserPrompts::install(this); }
  ~RecordingPrompts() override { UserPrompts::install(m_previous); }

  void warning(QWidget*, const QString& caption, const QString& text) override {
    shown << caption + ": " + text;
  }
  void information(QWidget*, const QString& caption, const QString& text) override {
    shown << caption + ": " + text;
  }
  Answer retryOrCancel(QWidget*, const QString& caption, const QString& text) override {
    shown << caption + ": " + text;
    return answer;
  }
  Answer yesOrNo(QWidget*, const QString& caption, const QString& text) override {
    shown << caption + ": " + text;
    return question;
  }
  // Recorded with a "!" before it, for the exclamation icon.
  Answer warningYesOrNo(QWidget*, const QString& caption, const QString& text) override {
    shown << "!" + caption + ": " + text;
    return question;
  }
  QStringList openFiles(QWidget*, const QString& caption, const QString&) override {
    shown << caption;
    return chosenFiles;
  }
  QStringList openFilesIn(QWidget* parent, const QString& caption, const QString& filter,
                          const QString& folder) override {
    offeredFolder = folder;
    return openFiles(parent, caption, filter);
  }
  QString openFile(QWidget*, const QString& caption, const QString& filter) override {
    shown << caption + " (" + filter + ")";
    return chosenFiles.value(0);
  }
  QString saveFile(QWidget*, const QString& caption, const QString&, const QString&) override {
    shown << caption;
    return chosenSaveNames.isEmpty() ? QString() : chosenSaveNames.takeFirst();
  }
  QString saveFileOfType(QWidget* parent, const QString& caption, const QStringList& filters,
                         const QString& suggested, int& type) override {
    offeredSaveType = type;
    if (chosenSaveType >= 0) type = chosenSaveType;
    return saveFile(parent, caption, filters.value(type), suggested);
  }
  // The font chooser answers with chosenFont (and chosenFontColour when set); cancelled without.
  bool chooseFont(QWidget*, const QString& caption, QFont& font, QColor& colour) override {
    shown << caption;
    if (!chosenFont) return false;
    font = *chosenFont;
    if (chosenFontColour.isValid()) colour = chosenFontColour;
    return true;
  }
  QColor chooseColour(QWidget*, const QString& caption, const QColor&) override {
    shown << caption;
    return chosenColour;
  }
  QString chooseFolder(QWidget*, const QString& caption, const QString&) override {
    shown << caption;
    return chosenFolder;
  }

  QStringList shown;
  Answer answer = Answer::kRetry;
  Answer question = Answer::kNo;
  QStringList chosenFiles;
  QString offeredFolder;        // where the last open-files dialog started
  QStringList chosenSaveNames;  // answered in turn
  int chosenSaveType = -1;      // the file type chosen; -1 keeps the one offered
  int offeredSaveType = -1;
  std::optional<QFont> chosenFont;
  QColor chosenFontColour;  // invalid: the colour stays
  QColor chosenColour;      // invalid: cancelled
  QString chosenFolder;     // empty: cancelled

 private:
  UserPrompts* m_previous;
};

}  // namespace qel::test
