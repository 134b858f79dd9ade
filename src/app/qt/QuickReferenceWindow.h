// The Quick Reference window: an example of each feature of the pattern language. Clicking an
// example searches for it in the main view; clicking a feature asks for its help topic.
#pragma once

#include <QDialog>
#include <QString>
#include <span>

#include "app/SettingsBackend.h"

class QCheckBox;
class QPushButton;

namespace qel {

class QELQuickReferenceViewWindows : public QDialog {
  Q_OBJECT

 public:
  struct Row {
    const char* feature;
    const char* example;
    const char* finds;
  };
  // A feature's identifier is its help context; an example's identifier goes with it.
  static constexpr int kFirstFeature = 11910;
  static constexpr int kFirstExample = 11890;
  // The longest text an example puts into the pattern box.
  static constexpr int kMaxExampleLength = 999;
  static constexpr char kDialogName[] = "QELQuickReference";

  static std::span<const Row> rows();

  // `settings` outlives the window. The window is placed where it was last closed.
  explicit QELQuickReferenceViewWindows(SettingsBackend& settings, QWidget* parent = nullptr);
  ~QELQuickReferenceViewWindows() override;

  // The buttons of row i (0 to 9), and the "show at start" box.
  QPushButton* featureButton(int row) const;
  QPushButton* exampleButton(int row) const;
  QCheckBox* showAtStartBox() const { return m_showAtStart; }

  // Closing stores the window's position.
  void done(int result) override;

 signals:
  // The example's text, to be put into the pattern box and searched (the main window connects it
  // to QELViewWindows::setPatternAndSearch, which ignores it while a search runs).
  void exampleChosen(const QString& pattern);
  // The help topic of the feature clicked.
  void helpRequested(int context);

 private:
  void storePosition();

  SettingsBackend& m_settings;
  QCheckBox* m_showAtStart = nullptr;
};

}  // namespace qel
