#include "WindowInput.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMap>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <memory>

namespace qel::test {
namespace {

// The window a display would hand the keys to: the focused top-level window, else ours.
QWindow* keyboardWindow(QWidget& fallback) {
  if (QWindow* focused = QGuiApplication::focusWindow()) return focused;
  return fallback.window()->windowHandle();
}

QPoint pointIn(QWidget* target, QPoint at) {
  if (at == QPoint(-1, -1)) at = target->rect().center();
  return target->mapTo(target->window(), at);
}

}  // namespace

WindowInput::WindowInput(QWidget& window) : m_window(window) {
  m_window.show();
  m_window.activateWindow();
  QVERIFY(QTest::qWaitForWindowExposed(&m_window));
  QVERIFY(QTest::qWaitForWindowActive(&m_window));
}

void WindowInput::key(int key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(keyboardWindow(m_window), static_cast<Qt::Key>(key), modifiers);
}

void WindowInput::keypadEnter(Qt::KeyboardModifiers modifiers) {
  key(Qt::Key_Enter, modifiers | Qt::KeypadModifier);
}

void WindowInput::type(const QString& text) {
  for (const QChar c : text) {
    QWindow* target = keyboardWindow(m_window);
    if (c.unicode() < 128 && c.isPrint()) {
      QTest::keyClick(target, c.toLatin1());
    } else {
      // Characters without a key of their own arrive as text, as an input method gives them.
      QTest::sendKeyEvent(QTest::Press, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

void WindowInput::retype(const QString& text) {
  key(Qt::Key_A, Qt::ControlModifier);
  key(Qt::Key_Delete);
  type(text);
}

void WindowInput::menu(char menuKey, char itemKey) {
  QTest::keyClick(keyboardWindow(m_window), menuKey, Qt::AltModifier);
  QTRY_VERIFY(QApplication::activePopupWidget() != nullptr);
  QTest::keyClick(keyboardWindow(m_window), itemKey);
}

void WindowInput::press(char letter, QAbstractButton* button, int timeoutMs) {
  QSignalSpy clicked(button, &QAbstractButton::clicked);
  key(Qt::Key_A + (letter - 'a'), Qt::AltModifier);
  QTRY_COMPARE_WITH_TIMEOUT(clicked.count(), 1, timeoutMs);
}

void WindowInput::click(QWidget* target, QPoint at, Qt::MouseButton button,
                        Qt::KeyboardModifiers modifiers) {
  clickAt(target, at == QPoint(-1, -1) ? target->rect().center() : at, button, modifiers);
}

void WindowInput::doubleClick(QWidget* target, QPoint at) {
  QWindow* window = target->window()->windowHandle();
  const QPoint point = pointIn(target, at);
  QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, point);
  QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, point);
}

QString sharedMnemonics(QWidget& window) {
  QMap<QChar, int> uses;
  const auto count = [&uses](const QString& text) {
    for (qsizetype i = text.indexOf('&'); i >= 0 && i + 1 < text.size();
         i = text.indexOf('&', i + 2)) {
      if (text[i + 1] != '&') ++uses[text[i + 1].toLower()];
    }
  };
  for (const QLabel* label : window.findChildren<QLabel*>()) {
    if (label->buddy() && label->isVisible()) count(label->text());
  }
  for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
    if (button->isVisible()) count(button->text());
  }
  for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
    if (group->isVisible()) count(group->title());
  }
  QString shared;
  for (auto it = uses.cbegin(); it != uses.cend(); ++it) {
    if (it.value() > 1) shared += it.key();
  }
  return shared;
}

void onceTrue(const std::function<bool()>& condition, const std::function<void()>& action,
              int timeoutMs) {
  auto* poll = new QTimer(qApp);
  QElapsedTimer* started = new QElapsedTimer;
  started->start();
  QObject::connect(poll, &QTimer::timeout, poll, [=] {
    const bool holds = condition();
    if (!holds && !started->hasExpired(timeoutMs)) return;
    poll->stop();
    poll->deleteLater();
    delete started;
    if (holds) {
      action();
    } else {
      QTest::qFail("the condition awaited never held", __FILE__, __LINE__);
    }
  });
  poll->start(1);
}

void whenVisible(const std::function<bool(QWidget*)>& matches,
                 const std::function<void(QWidget*)>& action, const char* what, int timeoutMs) {
  auto* poll = new QTimer(qApp);
  auto waited = std::make_shared<int>(0);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, poll, [=] {
    *waited += 10;
    QWidget* found = nullptr;
    if (QWidget* popup = QApplication::activePopupWidget(); popup && matches(popup)) found = popup;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (!found && w->isVisible() && matches(w)) found = w;
    }
    if (!found && *waited < timeoutMs) return;
    poll->deleteLater();
    poll->stop();
    if (found) {
      action(found);
    } else {
      QTest::qFail(qPrintable(QString("no %1 appeared within %2 ms").arg(what).arg(timeoutMs)),
                   __FILE__, __LINE__);
    }
  });
  poll->start();
}

}  // namespace qel::test
