// The Startup Tips window.
#include "app/qt/StartupTipsWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include "app/HelpContexts.h"
#include "app/WindowSettings.h"
#include "common/qt/WindowPosition.h"
#include "platform/FileAccess.h"

namespace qel {

QELStartupTipsViewWindows::QELStartupTipsViewWindows(SettingsBackend& settings,
                                                     const QString& programFolder, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
  setWindowTitle(tr("QEL Tip of the Day"));

  // The tip on the colours of a text field, so that it stands apart from the buttons.
  auto* frame = new QFrame(this);
  frame->setFrameShape(QFrame::StyledPanel);
  frame->setBackgroundRole(QPalette::Base);
  frame->setAutoFillBackground(true);
  m_text = new QLabel(frame);
  m_text->setObjectName(QStringLiteral("tipText"));
  m_text->setTextFormat(Qt::PlainText);
  m_text->setWordWrap(true);
  m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_text->setFixedWidth(m_text->fontMetrics().averageCharWidth() * 60);
  m_text->setMinimumHeight(m_text->fontMetrics().lineSpacing() * 5);
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->setContentsMargins(12, 10, 12, 10);
  frameLayout->addWidget(m_text);

  m_showAtStart = new QCheckBox(tr("&Show this window when QEL starts"), this);
  m_showAtStart->setObjectName(QStringLiteral("showAtStart"));
  m_showAtStart->setChecked(readShowStartupTips(m_settings));
  connect(m_showAtStart, &QCheckBox::toggled, this,
          [this](bool show) { writeShowStartupTips(m_settings, show); });

  m_next = new QPushButton(tr("&Next Tip"), this);
  m_next->setObjectName(QStringLiteral("nextTip"));
  m_next->setAutoDefault(false);
  connect(m_next, &QPushButton::clicked, this, &QELStartupTipsViewWindows::showNextTip);
  m_more = new QPushButton(tr("&More on this topic"), this);
  m_more->setObjectName(QStringLiteral("moreOnThisTopic"));
  m_more->setAutoDefault(false);
  connect(m_more, &QPushButton::clicked, this, [this] {
    if (helpContext() > 0) emit helpRequested(helpContext());
  });
  auto* close = new QPushButton(tr("&Close"), this);
  close->setObjectName(QStringLiteral("close"));
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(m_showAtStart);
  buttons->addStretch(1);
  buttons->addWidget(m_next);
  buttons->addWidget(m_more);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  const QString path = QDir(programFolder).filePath(QString::fromUtf8(kTipsFileName));
  TipsFile file = readTipsFile(QFile::encodeName(path).toStdString());
  m_tips = std::move(file.tips);
  m_nextIndex = readDialogNumber(m_settings, kDialogName, kNextIndexValue, 0);
  if (m_tips.empty()) {
    // Nothing to step through; the stored index waits for a file that has tips again.
    m_text->setText(file.error != 0 ? tr("The tips could not be read from %1: %2")
                                          .arg(QDir::toNativeSeparators(path),
                                               QString::fromStdString(fileErrorText(file.error)))
                                    : tr("%1 holds no tips.").arg(QDir::toNativeSeparators(path)));
    m_next->setEnabled(false);
    m_more->setEnabled(false);
  } else {
    showNextTip();
  }
  layout->activate();
  // F1 here opens the window's own topic, as in the program's other windows.
  connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
          [this] { emit helpRequested(help::kStartupTips); });
  restoreDialogPosition(*this, m_settings, kDialogName);
}

QELStartupTipsViewWindows::~QELStartupTipsViewWindows() {
  // A window destroyed while shown (its owner went first) still carries on next time.
  if (isVisible()) storeState();
}

QString QELStartupTipsViewWindows::text() const { return m_text->text(); }

int QELStartupTipsViewWindows::helpContext() const {
  return m_current >= 0 ? m_tips[m_current].helpContext : 0;
}

void QELStartupTipsViewWindows::showNextTip() {
  if (m_tips.empty()) return;
  const size_t shown = tipToShow(m_nextIndex, m_tips.size());
  m_current = static_cast<int>(shown);
  m_nextIndex = nextIndexAfter(shown, m_tips.size());
  m_text->setText(QString::fromStdString(m_tips[shown].text));
  // A tip without a topic has nothing more to show.
  m_more->setEnabled(m_tips[shown].helpContext > 0);
}

void QELStartupTipsViewWindows::done(int result) {
  if (isVisible()) storeState();
  QDialog::done(result);
}

void QELStartupTipsViewWindows::storeState() {
  if (!m_tips.empty()) writeDialogNumber(m_settings, kDialogName, kNextIndexValue, m_nextIndex);
  storeDialogPosition(*this, m_settings, kDialogName);
}

}  // namespace qel
