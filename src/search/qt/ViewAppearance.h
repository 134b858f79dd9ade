// The main view's fonts and colours, as the options set them.
#pragma once

#include <QColor>
#include <QFont>

namespace qel {

// Fonts and colours of the pattern box and the results.
struct ViewAppearance {
  QFont pattern{"DejaVu Sans Mono"};
  QColor patternColour{Qt::black};
  QFont results{"DejaVu Sans Mono"};
  QColor resultsColour{Qt::black};
  QFont annotation{"DejaVu Sans Mono"};
  QColor annotationColour{Qt::black};
  // Words of a ranked dictionary rarer than kRareFrom drawn lighter.
  bool rareLighter = true;
};

}  // namespace qel
