// The Quick Reference window: a grid of link-like buttons over the ten examples.
#include "app/qt/QuickReferenceWindow.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/HelpContexts.h"
#include "app/WindowSettings.h"
#include "common/qt/WindowPosition.h"

namespace qel {
namespace {

constexpr QELQuickReferenceViewWindows::Row kRows[] = {
    {"Templates", ".l...r.n", "electron"},
    {"Anagrams", ";lobikes", "obelisk"},
    {"Wildcards", "m*ja", "maharaja"},
    {"Choice lists", ";diners[ai]", "sardine"},
    {"Templates with anagrams", "......*;gdangboot", "toboggan"},
    {"Letter variables", "12341234", "beriberi"},
    {"Punctuation matching", "...-..-.....", "fly-by-night"},
    {"Logical operations", ";..oting & ! *ing", "tonight"},
    {"Macros", "@#@#@#@#@#@", "imaginative"},
    {"Sub-patterns", ";rebel(ada)", "readable"},
};

// Buttons that look like links, so the grid reads as a table; the one with the focus is
// highlighted, since a link has no frame to show it.
constexpr char kLinkStyle[] =
    "QPushButton[link=\"true\"] { border: none; padding: 1px 3px; text-align: left;"
    " color: palette(link); text-decoration: underline; background: transparent; }"
    "QPushButton[link=\"true\"]:focus { color: palette(highlighted-text);"
    " background: palette(highlight); }";

QPushButton* linkButton(const QString& text, const QString& name, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setProperty("link", true);
  button->setCursor(Qt::PointingHandCursor);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

std::span<const QELQuickReferenceViewWindows::Row> QELQuickReferenceViewWindows::rows() {
  return kRows;
}

QELQuickReferenceViewWindows::QELQuickReferenceViewWindows(SettingsBackend& settings,
                                                           QWidget* parent)
    : QDialog(parent), m_settings(settings) {
  setWindowTitle(tr("QEL Quick Reference"));
  setStyleSheet(kLinkStyle);

  auto* intro = new QLabel(
      tr("Click on an example to search for it, or on a feature to read more about it."), this);
  intro->setWordWrap(true);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(16);
  grid->setVerticalSpacing(2);
  QFont bold = font();
  bold.setBold(true);
  const char* headings[] = {"Feature", "Example", "Finds"};
  for (int column = 0; column < 3; ++column) {
    auto* heading = new QLabel(tr(headings[column]), this);
    heading->setFont(bold);
    grid->addWidget(heading, 0, column);
  }
  QFont example(QStringLiteral("DejaVu Sans Mono"));
  example.setStyleHint(QFont::Monospace);
  for (int i = 0; i < static_cast<int>(std::size(kRows)); ++i) {
    const Row& row = kRows[i];
    const QString pattern = QString::fromUtf8(row.example).left(kMaxExampleLength);
    auto* feature = linkButton(tr(row.feature), QStringLiteral("feature%1").arg(i), this);
    feature->setToolTip(tr("Read about %1").arg(tr(row.feature).toLower()));
    const int context = kFirstFeature + i;
    connect(feature, &QPushButton::clicked, this, [this, context] { emit helpRequested(context); });
    // An "&" of an example is shown, not taken for a mnemonic.
    auto* search = linkButton(QString(pattern).replace(u'&', QStringLiteral("&&")),
                              QStringLiteral("example%1").arg(i), this);
    search->setFont(example);
    search->setToolTip(tr("Search for %1").arg(pattern));
    connect(search, &QPushButton::clicked, this, [this, pattern] { emit exampleChosen(pattern); });
    grid->addWidget(feature, i + 1, 0);
    grid->addWidget(search, i + 1, 1);
    grid->addWidget(new QLabel(QString::fromUtf8(row.finds), this), i + 1, 2);
  }

  m_showAtStart = new QCheckBox(tr("&Show this window when QEL starts"), this);
  m_showAtStart->setObjectName(QStringLiteral("showAtStart"));
  m_showAtStart->setChecked(readShowQuickReference(m_settings));
  connect(m_showAtStart, &QCheckBox::toggled, this,
          [this](bool show) { writeShowQuickReference(m_settings, show); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // The window opens with nothing highlighted; Tab reaches the links.
  buttons->button(QDialogButtonBox::Close)->setFocus();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(intro);
  layout->addLayout(grid);
  layout->addSpacing(8);
  layout->addWidget(m_showAtStart);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  layout->activate();
  // F1 here opens the window's own topic, as in the program's other windows.
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
          [this] { emit helpRequested(help::kQuickReference); });
  restoreDialogPosition(*this, m_settings, kDialogName);
}

QELQuickReferenceViewWindows::~QELQuickReferenceViewWindows() {
  // A window destroyed while shown (its owner went first) keeps its place all the same.
  if (isVisible()) storePosition();
}

QPushButton* QELQuickReferenceViewWindows::featureButton(int row) const {
  return findChild<QPushButton*>(QStringLiteral("feature%1").arg(row));
}

QPushButton* QELQuickReferenceViewWindows::exampleButton(int row) const {
  return findChild<QPushButton*>(QStringLiteral("example%1").arg(row));
}

void QELQuickReferenceViewWindows::done(int result) {
  if (isVisible()) storePosition();
  QDialog::done(result);
}

void QELQuickReferenceViewWindows::storePosition() {
  storeDialogPosition(*this, m_settings, kDialogName);
}

}  // namespace qel
