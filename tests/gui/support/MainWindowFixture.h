// A main window of a test's own, driven through WindowInput: fresh settings (prepared before the
// window reads them), message boxes and file dialogs answered in advance, the window shown and
// active.
#pragma once

#include <QApplication>
#include <QChar>
#include <QComboBox>
#include <QStringList>
#include <QTest>
#include <functional>
#include <string>

#include "FreshSettings.h"
#include "RecordingPrompts.h"
#include "WindowInput.h"
#include "app/qt/QELFrameWindow.h"
#include "search/qt/MatchListLabelWindows.h"
#include "search/qt/MatchListWindows.h"
#include "search/qt/QELViewWindows.h"

namespace qel::test {

struct PreparedSettings : FreshSettings {
  explicit PreparedSettings(const std::function<void(SettingsStore&)>& prepare) {
    if (prepare) prepare(store);
  }
};

struct MainWindowFixture {
  PreparedSettings fresh;
  RecordingPrompts prompts;
  QELFrameWindow window;
  WindowInput input{window};

  explicit MainWindowFixture(const QStringList& dictionaries,
                             const std::function<void(SettingsStore&)>& prepare = nullptr)
      : fresh(prepare), window(fresh.store, fresh.folder.path(), dictionaries) {}

  QELViewWindows& view() { return *window.view(); }

  // The window active again, as a window manager makes it when the window is clicked or a dialog
  // over it has closed (the offscreen display does neither).
  void reactivate() {
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
  }

  // A click on the pattern box, the pattern typed over what it shows, and Return; waits until the
  // search has ended.
  void search(const QString& pattern) {
    WindowInput::click(view().patternBox());
    input.retype(pattern);
    input.key(Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(view().state() != SearchState::Searching, 20000);
  }

  // The entries of a pane's results, in their order.
  QStringList results(int pane) {
    QStringList out;
    const ResultList& list = view().session()->pane(pane).results;
    for (long i = 0; i < list.count(); ++i) out << QString::fromLatin1(list.record(i)->entry());
    return out;
  }

  void clickResult(int pane, long row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    MatchListWindows* list = view().pane(pane).list;
    WindowInput::click(list->viewport(), list->rowRect(row).center(), Qt::LeftButton, modifiers);
  }

  // A menu of the menu bar opened with Alt and its key (which brings its items up to date);
  // `look` runs while it shows, then Escape closes it and leaves the menu bar.
  void inMenu(char key, const std::function<void()>& look) {
    input.key(QChar(key).toUpper().unicode(), Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
    look();
    input.key(Qt::Key_Escape);
    input.key(Qt::Key_Escape);
  }
};

}  // namespace qel::test
