// The Startup Tips window: one tip at a time from the tips file beside the program, carrying on
// from where the last one left off, with the help topic of each tip a click away.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <vector>

#include "app/SettingsBackend.h"
#include "app/TipsFile.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace qel {

class QELStartupTipsViewWindows : public QDialog {
  Q_OBJECT

 public:
  // The window's own values: "QELStartupTipsNextIndex" and "QELStartupTipsPosition".
  static constexpr char kDialogName[] = "QELStartupTips";
  static constexpr char kNextIndexValue[] = "NextIndex";

  // Reads "Tips.txt" in `programFolder` and shows the tip at the stored next index. `settings`
  // outlives the window. Each opening is a new window: it shows the tip after the one the last
  // window showed.
  QELStartupTipsViewWindows(SettingsBackend& settings, const QString& programFolder,
                            QWidget* parent = nullptr);
  ~QELStartupTipsViewWindows() override;

  int tipCount() const { return static_cast<int>(m_tips.size()); }
  // The tip shown, or -1 when the file gave none; the index that closing stores.
  int currentTip() const { return m_current; }
  int32_t nextIndex() const { return m_nextIndex; }
  // The text shown (a tip, or why there is none) and the shown tip's help context (0: none).
  QString text() const;
  int helpContext() const;

  QPushButton* nextButton() const { return m_next; }
  QPushButton* moreButton() const { return m_more; }
  QCheckBox* showAtStartBox() const { return m_showAtStart; }

  // Shows the tip at the next index.
  void showNextTip();
  // Closing stores the next index and the window's position.
  void done(int result) override;

 signals:
  // "More on this topic": the shown tip's help context.
  void helpRequested(int context);

 private:
  void storeState();

  SettingsBackend& m_settings;
  std::vector<Tip> m_tips;
  int m_current = -1;
  int32_t m_nextIndex = 0;
  QLabel* m_text = nullptr;
  QPushButton* m_next = nullptr;
  QPushButton* m_more = nullptr;
  QCheckBox* m_showAtStart = nullptr;
};

}  // namespace qel
