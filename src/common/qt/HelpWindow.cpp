// The help window and the manual's pages for the web browser.
#include "common/qt/HelpWindow.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QKeySequence>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrlQuery>
#include <QVBoxLayout>

#include "app/HelpContexts.h"

// The pages live in a static library, whose resources are not registered on their own. (The
// registration names a function of the global namespace, so this stays outside any namespace.)
static bool registerHelpResource() {
  Q_INIT_RESOURCE(help);
  return true;
}

static void registerHelpPages() {
  static const bool registered = registerHelpResource();
  (void)registered;
}

namespace qel {
namespace {

const QString kResourceFolder = QStringLiteral(":/help");

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Where Online Help puts the pages: a folder of the program's own in the user's cache.
QString onlineFolder() {
  QString base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (base.isEmpty())
    base = QDir::tempPath() + QStringLiteral("/qel-") + qEnvironmentVariable("USER");
  return base + QStringLiteral("/help");
}

// Writes every page and the style sheet into the folder, replacing any copy that differs (one
// left by another version of the program); false when one cannot be written.
bool writeOnlinePages(const QString& folder) {
  registerHelpPages();
  if (!QDir().mkpath(folder)) return false;
  QDirIterator pages(kResourceFolder, QDir::Files);
  while (pages.hasNext()) {
    const QString from = pages.next();
    QFile page(from);
    if (!page.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = page.readAll();
    const QString to = folder + QLatin1Char('/') + pages.fileName();
    QFile existing(to);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes) continue;
    existing.close();
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
      return false;
  }
  return true;
}

QUrl onlinePageUrl(std::string_view page) {
  const QString folder = onlineFolder();
  if (!writeOnlinePages(folder)) return {};
  return QUrl::fromLocalFile(folder + QLatin1Char('/') + fromView(page));
}

}  // namespace

QPointer<HelpWindow> HelpWindow::s_instance;

QUrl helpTopicUrl(std::string_view topic) {
  return QUrl(QStringLiteral("qrc:/help/") + fromView(topic));
}

QUrl onlineHelpUrl() { return onlinePageUrl(kContentsPage); }

QUrl onlineTutorialUrl() { return onlinePageUrl(kTutorialPage); }

QUrl supportMailUrl() {
  QUrl url;
  url.setScheme(QStringLiteral("mailto"));
  url.setPath(fromView(kSupportAddress));
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("subject"), fromView(kSupportSubject));
  url.setQuery(query);
  return url;
}

HelpWindow* HelpWindow::instance() { return s_instance.data(); }

HelpWindow::HelpWindow() : QWidget(nullptr, Qt::Window) {
  registerHelpPages();
  setObjectName(QStringLiteral("HelpWindow"));
  // Closing the main window ends the program even while help is open beside it.
  setAttribute(Qt::WA_QuitOnClose, false);

  m_browser = new QTextBrowser(this);
  m_browser->setObjectName(QStringLiteral("helpBrowser"));
  m_browser->setOpenExternalLinks(true);  // the support address, in the user's mail program
  // The pages name their style sheet for the web browser; rich text takes it from here.
  QFile style(kResourceFolder + QStringLiteral("/help.css"));
  if (style.open(QIODevice::ReadOnly))
    m_browser->document()->setDefaultStyleSheet(QString::fromUtf8(style.readAll()));

  auto* bar = new QToolBar(this);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  m_contents = bar->addAction(tr("&Contents"));
  m_contents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
  m_contents->setToolTip(tr("The contents of the help (Alt+Home)"));
  m_back = bar->addAction(tr("&Back"));
  m_back->setShortcut(QKeySequence(QKeySequence::Back));
  m_back->setToolTip(tr("The page read before (Alt+Left)"));
  m_back->setEnabled(false);
  m_forward = bar->addAction(tr("&Forward"));
  m_forward->setShortcut(QKeySequence(QKeySequence::Forward));
  m_forward->setToolTip(tr("The page read after this one (Alt+Right)"));
  m_forward->setEnabled(false);
  connect(m_contents, &QAction::triggered, this,
          [this] { m_browser->setSource(helpTopicUrl(kContentsPage)); });
  connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
  connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
  connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
  connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
  connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::updateTitle);
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &QWidget::close);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(m_browser);

  const QFontMetrics metrics(m_browser->font());
  resize(metrics.averageCharWidth() * 90, metrics.lineSpacing() * 40);
  setWindowTitle(tr("QEL Help"));
}

void HelpWindow::showContext(int context) {
  const std::string_view topic = helpTopic(context);
  m_browser->setSource(helpTopicUrl(topic.empty() ? kContentsPage : topic));
}

void HelpWindow::updateTitle() {
  const QString page = m_browser->documentTitle();
  setWindowTitle(page.isEmpty() ? tr("QEL Help") : tr("QEL Help - %1").arg(page));
}

void HelpWindow::attachTo(QWidget* owner) {
  if (owner == this || owner == parentWidget()) return;
  disconnect(m_ownerDone);
  const bool visible = isVisible();
  const QRect place = geometry();
  // A window that belongs to a modal dialog is the only kind the dialog lets the user reach.
  setParent(owner, windowFlags());
  setGeometry(place);
  if (visible) show();
  if (auto* dialog = qobject_cast<QDialog*>(owner)) {
    m_ownerDone = connect(dialog, &QDialog::finished, this, [this, dialog] {
      QWidget* next = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
      attachTo(next);
    });
  }
}

void showHelp(int context, QWidget* parent) {
  QWidget* owner = parent ? parent->window() : QApplication::activeWindow();
  HelpWindow* window = HelpWindow::s_instance.data();
  if (!window) {
    window = new HelpWindow;
    HelpWindow::s_instance = window;
    if (owner) {
      // First shown beside the window that asked, rather than wherever the platform puts it.
      const QRect area = owner->screen()->availableGeometry();
      QRect place(owner->frameGeometry().topRight() + QPoint(8, 0), window->size());
      if (!area.contains(place)) place.moveCenter(area.center());
      window->move(place.topLeft());
    }
    // A window without an owner would outlive the application object.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &QObject::deleteLater);
  }
  window->attachTo(owner);
  window->showContext(context);
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace qel
