// Input delivered the way a display delivers it: keys to the window that has the keyboard, clicks
// to the window under the pointer at a point of it. Shortcuts, focus proxies, event filters and
// pop-up menus then act as they do for a person; nothing is sent to an inner widget directly.
#pragma once

#include <QAbstractButton>
#include <QPoint>
#include <QString>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <functional>

namespace qel::test {

// Single inputs to the window that shows `widget`.
inline void clickAt(QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = {}) {
  QWidget* window = widget->window();
  QTest::mouseClick(window->windowHandle(), button, modifiers, widget->mapTo(window, at));
}

inline void clickCentre(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
  clickAt(widget, widget->rect().center(), button);
}

// A click on a check box's own box: one stretched across its row ignores the blank beyond its
// text.
inline void clickIndicator(QWidget* box) { clickAt(box, QPoint(6, box->height() / 2)); }

inline void pointAt(QWidget* widget, QPoint at) {
  QWidget* window = widget->window();
  QTest::mouseMove(window->windowHandle(), widget->mapTo(window, at));
}

// A key pressed while `widget`'s window is active.
inline void pressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  QTest::keyClick(widget->window()->windowHandle(), key, modifiers);
}

// Text typed into whatever has the focus in `widget`'s window, a key event per character.
inline void typeText(QWidget* widget, const QString& text) {
  QWindow* window = widget->window()->windowHandle();
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, window, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// A session of input to one window, for the keys that go wherever the keyboard is.
class WindowInput {
 public:
  // Shows the window and waits until it is exposed and active.
  explicit WindowInput(QWidget& window);

  QWidget& window() const { return m_window; }

  // A key with modifiers, to the window that has the keyboard (an open pop-up menu's owner
  // passes it on to the menu, as the display's grab would).
  void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Keypad Enter, which carries the keypad modifier.
  void keypadEnter(Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Text as typed: one key per character.
  void type(const QString& text);
  // Clears the focused text box (Ctrl+A, Delete) and types the text.
  void retype(const QString& text);
  // Alt+menuKey opens a menu of the menu bar, then itemKey chooses its item.
  void menu(char menuKey, char itemKey);
  // Alt and the button's letter, then the wait until the button is clicked and what it does is
  // done: a mnemonic clicks a button as an animation, a moment later.
  void press(char letter, QAbstractButton* button, int timeoutMs = 60000);

  // Mouse input to the window that shows `target`, at a point of `target` (its centre by default).
  static void click(QWidget* target, QPoint at = QPoint(-1, -1),
                    Qt::MouseButton button = Qt::LeftButton,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  static void doubleClick(QWidget* target, QPoint at = QPoint(-1, -1));

 private:
  QWidget& m_window;
};

// The letters of the window's mnemonics ("&Build": b) that more than one of its labels and
// buttons use: Alt and such a letter reaches one of them or the other, by turns.
QString sharedMnemonics(QWidget& window);

// Runs `action` at the first turn of the event loop at which `condition` holds (within `timeoutMs`,
// else the test fails): for input in the middle of work that runs its own turns.
void onceTrue(const std::function<bool()>& condition, const std::function<void()>& action,
              int timeoutMs = 20000);

// Runs `action` once a top-level widget that `matches` is visible (a modal dialog or a menu run
// by exec(), whose loop would otherwise hold the test up); after `timeoutMs` without one, the test
// fails, naming `what` never appeared.
void whenVisible(const std::function<bool(QWidget*)>& matches,
                 const std::function<void(QWidget*)>& action, const char* what,
                 int timeoutMs = 5000);

template <typename T>
void whenShown(const std::function<void(T*)>& action, int timeoutMs = 5000) {
  whenVisible([](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
              [action](QWidget* w) { action(qobject_cast<T*>(w)); },
              T::staticMetaObject.className(), timeoutMs);
}

}  // namespace qel::test
