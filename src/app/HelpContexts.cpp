// The table of help contexts and their topics.
#include "app/HelpContexts.h"

#include <algorithm>
#include <iterator>

namespace qel {
namespace {

constexpr HelpTopic kTopics[] = {
    {1770, "about.html"},                           // About QEL
    {3670, "menus.html#file"},                      // the File menu
    {3730, "menus.html#help"},                      // the Help menu
    {3770, "index.html"},                           // Contents
    {3780, "saving-printing.html#page-setup"},      // Page Setup
    {4210, "menus.html#edit"},                      // the Edit menu
    {4250, "main-window.html"},                     // the main view
    {4270, "main-window.html#pattern-box"},         // the pattern box
    {4280, "searching.html#search-button"},         // Search, Stop, Resume
    {4310, "options.html"},                         // the Options dialog
    {4370, "searching.html#shortest-longest"},      // Longest
    {4380, "searching.html#shortest-longest"},      // Shortest
    {4420, "searching.html#progress-bar"},          // the progress bar
    {4820, "quick-reference.html"},                 // Quick Reference
    {4840, "dictionaries.html#recent"},             // previously used dictionaries 1 to 10
    {4841, "dictionaries.html#recent"},             //
    {4842, "dictionaries.html#recent"},             //
    {4843, "dictionaries.html#recent"},             //
    {4844, "dictionaries.html#recent"},             //
    {4845, "dictionaries.html#recent"},             //
    {4846, "dictionaries.html#recent"},             //
    {4847, "dictionaries.html#recent"},             //
    {4848, "dictionaries.html#recent"},             //
    {4849, "dictionaries.html#recent"},             //
    {4850, "dictionaries.html#properties"},         // the dictionary properties dialog
    {4980, "companions.html#builder"},              // Dictionary Builder
    {4990, "menus.html#tools"},                     // the Tools menu
    {5120, "companions.html#merger"},               // Word List Merge
    {5140, "lookup.html#methods"},                  // External Lookup > Setup
    {5150, "lookup.html#methods"},                  // the Lookup Methods dialog
    {5670, "support.html#tutorial"},                // Online Tutorial
    {6640, "menus.html#pane-menu"},                 // a pane's shortcut menu
    {6660, "menus.html#results-menu"},              // the shortcut menu of selected results
    {6740, "support.html#online-help"},             // Online Help
    {7480, "saving-printing.html#save-results"},    // Save Results As
    {7490, "definitions.html#lookup"},              // Lookup
    {7500, "results.html#copy"},                    // Copy
    {7510, "results.html#selecting"},               // Select All
    {7520, "saving-printing.html#print"},           // Print Results
    {7530, "saving-printing.html#print-preview"},   // Print Preview, and its window
    {7540, "dictionaries.html#properties"},         // Properties
    {7550, "dictionaries.html#open"},               // Open
    {7560, "options.html"},                         // Options
    {7580, "dictionaries.html#close"},              // Close
    {7590, "dictionaries.html#order"},              // Promote
    {7600, "dictionaries.html#order"},              // Demote
    {7610, "main-window.html#editing"},             // Paste
    {7620, "main-window.html#editing"},             // Cut
    {7820, "dictionary-list.html"},                 // the Dictionary List dialog
    {8480, "definitions.html"},                     // a definition window and its menus
    {11860, "panes.html#tiling"},                   // Tile Horizontal
    {11870, "panes.html#tiling"},                   // Tile Vertical
    {11910, "templates.html"},                      // Quick Reference: Templates
    {11911, "anagrams.html"},                       // Anagrams
    {11912, "wildcards.html"},                      // Wildcards
    {11913, "choice-lists.html"},                   // Choice lists
    {11914, "anagrams.html#with-templates"},        // Templates with anagrams
    {11915, "letter-variables.html"},               // Letter variables
    {11916, "punctuation.html"},                    // Punctuation matching
    {11917, "logical-operations.html"},             // Logical operations
    {11918, "macros.html"},                         // Macros
    {11919, "sub-patterns.html"},                   // Sub-patterns
    {11980, "options.html#pattern"},                // Options: the Pattern page
    {12000, "options.html#result"},                 // the Result page
    {12015, "options.html#sorting"},                // the Sorting page
    {12025, "options.html#dictionary"},             // the Dictionary page
    {12040, "options.html#appearance"},             // the Appearance page
    {12110, "support.html#email"},                  // Email Support
    {12120, "menus.html#window"},                   // the Window menu
    {12560, "definitions.html"},                    // a definition window's client
    {12640, "definitions.html#new-window"},         // Lookup in New Window
    {12650, "definitions.html#history"},            // Back
    {12660, "definitions.html#history"},            // Forward
    {12670, "definitions.html#history"},            // history items 1 to 10
    {12671, "definitions.html#history"},            //
    {12672, "definitions.html#history"},            //
    {12673, "definitions.html#history"},            //
    {12674, "definitions.html#history"},            //
    {12675, "definitions.html#history"},            //
    {12676, "definitions.html#history"},            //
    {12677, "definitions.html#history"},            //
    {12678, "definitions.html#history"},            //
    {12679, "definitions.html#history"},            //
    {12690, "searching.html#search-mode"},          // the search-mode button
    {12710, "lookup.html"},                         // External Lookup
    {12730, "definitions.html#results"},            // Next Result
    {12740, "definitions.html#results"},            // Previous Result
    {12750, "searching.html#search-mode"},          // the search-mode menu
    {12760, "searching.html#search-mode"},          // Word Search
    {12770, "full-text-search.html"},               // Full Text Search
    {12830, "lookup.html#prompt"},                  // the External Lookup prompt
    {13330, "lookup.html"},                         // the External Lookup submenu
    {13390, "quick-reference.html#tips"},           // Startup Tips
    {13890, "definitions.html#definitions"},        // Next Definition
    {13900, "definitions.html#definitions"},        // Previous Definition
    {14100, "saving-printing.html#as-dictionary"},  // saving results as a dictionary
    {24310, "menus.html#exit"},                     // Exit
};

constexpr bool increasing(const HelpTopic* first, const HelpTopic* last) {
  for (const HelpTopic* t = first; t + 1 < last; ++t) {
    if (t->context >= (t + 1)->context) return false;
  }
  return true;
}
static_assert(increasing(std::begin(kTopics), std::end(kTopics)),
              "help contexts must be listed once each, in increasing order");

}  // namespace

std::span<const HelpTopic> helpTopics() { return kTopics; }

std::string_view helpTopic(int context) {
  const auto* it = std::lower_bound(std::begin(kTopics), std::end(kTopics), context,
                                    [](const HelpTopic& t, int c) { return t.context < c; });
  if (it == std::end(kTopics) || it->context != context) return {};
  return it->topic;
}

bool hasHelpTopic(int context) { return !helpTopic(context).empty(); }

}  // namespace qel
