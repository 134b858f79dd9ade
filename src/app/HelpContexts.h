// The help the program can ask for: every help context (a command's identifier, a window, a
// dialog, a menu) and the help topic that explains it, and the addresses behind the Help menu.
#pragma once

#include <span>
#include <string_view>

namespace qel {

// Help contexts that are not the identifier of a menu command. A command's own identifier is its
// help context too (Open is 7550), so those need no name here.
namespace help {

inline constexpr int kMainView = 4250;  // F1 when nothing more particular is set

// An open menu: the context it sets (menuHelpContext in Commands.h pairs menus with these).
inline constexpr int kFileMenu = 3670;
inline constexpr int kEditMenu = 4210;
inline constexpr int kToolsMenu = 4990;
inline constexpr int kWindowMenu = 12120;
inline constexpr int kHelpMenu = 3730;
inline constexpr int kPaneMenu = 6640;     // a pane's caption, or a list with nothing selected
inline constexpr int kResultsMenu = 6660;  // selected results
inline constexpr int kExternalLookupMenu = 13330;
inline constexpr int kSearchModeMenu = 12750;

// Controls of the main view.
inline constexpr int kPatternBox = 4270;
inline constexpr int kSearchButton = 4280;
inline constexpr int kSearchModeButton = 12690;
inline constexpr int kShortest = 4380;
inline constexpr int kLongest = 4370;
inline constexpr int kProgressBar = 4420;

// Windows and dialogs, for F1 and their "&Help" buttons.
inline constexpr int kOptionsDialog = 4310;
inline constexpr int kOptionsPatternPage = 11980;
inline constexpr int kOptionsResultPage = 12000;
inline constexpr int kOptionsSortingPage = 12015;
inline constexpr int kOptionsDictionaryPage = 12025;
inline constexpr int kOptionsAppearancePage = 12040;
inline constexpr int kExternalLookupDialog = 12830;
inline constexpr int kLookupMethodsDialog = 5150;
inline constexpr int kDictionaryListDialog = 7820;
inline constexpr int kDictionaryPropertiesDialog = 4850;
inline constexpr int kDictionarySaveDialog = 14100;  // saving results as a dictionary
inline constexpr int kPrintPreview = 7530;           // the preview window; also its command
inline constexpr int kDefinitionWindow = 8480;
inline constexpr int kDefinitionWindowClient = 12560;
inline constexpr int kQuickReference = 4820;
inline constexpr int kStartupTips = 13390;
inline constexpr int kAbout = 1770;
inline constexpr int kContents = 3770;

// The feature names of the Quick Reference window, one per row: kQuickReferenceFeature + row for
// rows 0 (Templates) to 9 (Sub-patterns).
inline constexpr int kQuickReferenceFeature = 11910;
inline constexpr int kQuickReferenceFeatureCount = 10;

}  // namespace help

// One help topic: a page of the manual, with the anchor of the section when the page explains
// more than this context ("anagrams.html#balance").
struct HelpTopic {
  int context;
  std::string_view topic;
};

// Every context the program can ask help for, in increasing order of context.
std::span<const HelpTopic> helpTopics();

bool hasHelpTopic(int context);
// The topic of a context: "page.html" or "page.html#anchor"; empty when the context has none.
std::string_view helpTopic(int context);

// The pages of the manual: its contents (what Help > Contents shows and the page opened as
// online help), and the tutorial.
inline constexpr std::string_view kContentsPage = "index.html";
inline constexpr std::string_view kTutorialPage = "tutorial.html";

// Email Support writes to this address with this subject.
inline constexpr std::string_view kSupportAddress = "support@qel.example";
inline constexpr std::string_view kSupportSubject = "QEL Support Request";

}  // namespace qel
