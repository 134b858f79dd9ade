// The help: the manual's pages compiled into the program, shown in one help window at the topic of
// a help context, and written out for the web browser for Online Help and Online Tutorial.
#pragma once

#include <QPointer>
#include <QUrl>
#include <QWidget>
#include <string_view>

class QAction;
class QTextBrowser;

namespace qel {

// F1 and every "&Help" button: shows the help window at the topic of `context`, or at the contents
// when the context has none. The one help window is reused; it stands in front of `parent`'s
// window and stays usable while that window is modal.
void showHelp(int context, QWidget* parent);

// The address of a topic ("page.html#anchor") among the program's own pages.
QUrl helpTopicUrl(std::string_view topic);

// Online Help and Online Tutorial: the manual's pages written out into the user's cache folder
// (again whenever they differ from the program's), and the file address of the contents or of the
// tutorial there, for QDesktopServices::openUrl. Empty when the pages cannot be written.
QUrl onlineHelpUrl();
QUrl onlineTutorialUrl();

// Email Support: a new message to the support address with the support subject.
QUrl supportMailUrl();

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  // The help window, once showHelp has opened it (until it goes with the window that owns it).
  static HelpWindow* instance();

  // Shows the topic of a help context, or the contents for a context without a topic.
  void showContext(int context);

  QTextBrowser* browser() const { return m_browser; }
  QAction* contentsAction() const { return m_contents; }
  QAction* backAction() const { return m_back; }
  QAction* forwardAction() const { return m_forward; }

 private:
  friend void showHelp(int context, QWidget* parent);

  HelpWindow();
  // Makes `owner` (a window, or none) the help window's owner, keeping its place on the screen;
  // when the owner is a dialog, the help window returns to the dialog's own owner once the dialog
  // is done, rather than going with it.
  void attachTo(QWidget* owner);
  void updateTitle();

  QTextBrowser* m_browser = nullptr;
  QAction* m_contents = nullptr;
  QAction* m_back = nullptr;
  QAction* m_forward = nullptr;
  QMetaObject::Connection m_ownerDone;

  static QPointer<HelpWindow> s_instance;
};

}  // namespace qel
