# The layers of QEL, lowest first. Each is a static library with its sources listed that links
# only the layers it USES; a file may include headers of its own layer and of the layers below it,
# never above. layers.txt in the build folder records the table for the check that keeps every
# include pointing down (tools/check-layers.py: run by every build and as a test).
#
#   programs       qel, RIDOZAD, RAVAZAV (window programs)       qel-cli
#   application    app/qt: the main frame, its options, tips and quick reference
#   views          search/qt, definitions/qt, lookup/qt, maintenance/qt
#   Qt common      common/qt, properties, platform/qt: settings store, prompts, fonts, window
#                  positions, help window, the property-dialog framework
#   core           cli > maintenance > search, lookup > app > definitions > pattern > dictionary
#                  > platform: standard C++ only, no Qt
file(WRITE ${CMAKE_BINARY_DIR}/layers.txt "")
file(WRITE ${CMAKE_BINARY_DIR}/core-sources.txt "")

# qel_layer(NAME [CORE] [QT] FOLDERS folder... SOURCES file... USES layer... [LINKS target...])
# A QT layer is recorded even when the window program is not built, so that the table is whole.
function(qel_layer name)
  cmake_parse_arguments(PARSE_ARGV 1 L "CORE;QT" "" "FOLDERS;SOURCES;USES;LINKS")
  list(JOIN L_FOLDERS " " folders)
  list(JOIN L_USES " " uses)
  file(APPEND ${CMAKE_BINARY_DIR}/layers.txt "${name}: ${folders} | ${uses}\n")
  if(L_CORE)
    list(JOIN L_SOURCES "\n" lines)
    file(APPEND ${CMAKE_BINARY_DIR}/core-sources.txt "${lines}\n")
  endif()
  if(L_QT AND NOT QEL_BUILD_QT)
    return()
  endif()
  if(NOT L_SOURCES)
    return()
  endif()
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${L_USES} ${L_LINKS})
  if(L_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    # Qt's headers are most of what a window file compiles: parsed once per layer instead.
    target_precompile_headers(${name} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/QtPrecompiled.h)
  endif()
endfunction()

# The core: standard C++ only, Qt never enters it.
qel_layer(qel_platform CORE FOLDERS platform SOURCES
  src/platform/Cp1252.cpp
  src/platform/FileAccess.cpp
  src/platform/FileReplacement.cpp
  src/platform/MappedFile.cpp
  src/platform/PooledFile.cpp
  src/platform/Status.cpp
  src/platform/TemporaryFiles.cpp)
qel_layer(qel_dictionary CORE FOLDERS dictionary USES qel_platform SOURCES
  src/dictionary/AcceptedAhead.cpp
  src/dictionary/CommonnessRanks.cpp
  src/dictionary/DecodedSection.cpp
  src/dictionary/DecodedSideFile.cpp
  src/dictionary/DictionaryFingerprint.cpp
  src/dictionary/DecodingTable.cpp
  src/dictionary/DefinitionFile.cpp
  src/dictionary/DefinitionReferences.cpp
  src/dictionary/DefinitionsOfWord.cpp
  src/dictionary/Dictionary.cpp
  src/dictionary/DictionaryWatch.cpp
  src/dictionary/EntryEnumerator.cpp
  src/dictionary/QCDictionaryDefinitionRetriever.cpp
  src/dictionary/QCDictionaryList.cpp
  src/dictionary/ReplayCursor.cpp
  src/dictionary/SectionBitReader.cpp
  src/dictionary/SideFileLayout.cpp
  src/dictionary/SideFileOutput.cpp)
qel_layer(qel_pattern CORE FOLDERS pattern USES qel_dictionary SOURCES
  src/pattern/AnagramCompiler.cpp
  src/pattern/AnagramMatcher.cpp
  src/pattern/AnagramPlacement.cpp
  src/pattern/BalanceCounts.cpp
  src/pattern/CompilerFinish.cpp
  src/pattern/FastMatchers.cpp
  src/pattern/FirstLetters.cpp
  src/pattern/FixedLetterScan.cpp
  src/pattern/FoldedCompare.cpp
  src/pattern/MacroExpansion.cpp
  src/pattern/MatchEngine.cpp
  src/pattern/MatchEngineSet.cpp
  src/pattern/MatchMemo.cpp
  src/pattern/Matcher.cpp
  src/pattern/PatternCompiler.cpp
  src/pattern/PatternSplitter.cpp
  src/pattern/PlainGroups.cpp
  src/pattern/PlacementMemo.cpp
  src/pattern/ProgramDump.cpp
  src/pattern/SetEvaluation.cpp)
qel_layer(qel_definitions CORE FOLDERS definitions USES qel_pattern SOURCES
  src/definitions/DefinitionHighlights.cpp
  src/definitions/DefinitionHistory.cpp
  src/definitions/DefinitionOrder.cpp
  src/definitions/NaturalCompare.cpp
  src/definitions/RichTextFormat.cpp
  src/definitions/RichTextPlain.cpp
  src/definitions/RichTextTokenizer.cpp)
# Commands, messages, options and settings: what every front end shares.
qel_layer(qel_app_core CORE FOLDERS app USES qel_pattern SOURCES
  src/app/CommandStates.cpp
  src/app/Commands.cpp
  src/app/HelpContexts.cpp
  src/app/Messages.cpp
  src/app/Options.cpp
  src/app/SettingsBackend.cpp
  src/app/StartWindowPlacement.cpp
  src/app/SettingsFormat.cpp
  src/app/TipsFile.cpp
  src/app/WindowSettings.cpp)
qel_layer(qel_lookup CORE FOLDERS lookup USES qel_app_core SOURCES
  src/lookup/ExternalLookupPrompt.cpp
  src/lookup/LookupArguments.cpp
  src/lookup/LookupMethodTable.cpp)
qel_layer(qel_search CORE FOLDERS search USES qel_app_core qel_definitions SOURCES
  src/search/AnagramWordIndex.cpp
  src/search/AnagramWordReader.cpp
  src/search/CommonnessOrder.cpp
  src/search/EntryClass.cpp
  src/search/FullTextCursor.cpp
  src/search/PackedLetters.cpp
  src/search/PaneLayout.cpp
  src/search/PhraseAnagramSearch.cpp
  src/search/PrintPagination.cpp
  src/search/QCDictionaryDefinitionSearchIndexed.cpp
  src/search/QCDictionaryDefinitionSearchSequential.cpp
  src/search/QELPrintoutFeeder.cpp
  src/search/ResultList.cpp
  src/search/ResultOrder.cpp
  src/search/ResultSelection.cpp
  src/search/ResultStepping.cpp
  src/search/ResultsText.cpp
  src/search/SearchSession.cpp
  src/search/SearchMode.cpp
  src/search/PatternSearchMode.cpp
  src/search/WordSearchMode.cpp
  src/search/FullTextMode.cpp
  src/search/PhraseAnagramMode.cpp
  src/search/ResultOutput.cpp
  src/search/SearchOptions.cpp)
qel_layer(qel_maintenance CORE FOLDERS maintenance USES qel_search SOURCES
  src/maintenance/BuildAlphabet.cpp
  src/maintenance/Calibration.cpp
  src/maintenance/DefinitionOutput.cpp
  src/maintenance/DictionaryBuilder.cpp
  src/maintenance/DictionaryMaintainer.cpp
  src/maintenance/EntryOrder.cpp
  src/maintenance/FoldTable.cpp
  src/maintenance/HeaderImage.cpp
  src/maintenance/IndexWords.cpp
  src/maintenance/LetterScores.cpp
  src/maintenance/MergeInputs.cpp
  src/maintenance/OutputFile.cpp
  src/maintenance/PrefixCode.cpp
  src/maintenance/SectionOutput.cpp
  src/maintenance/SourceLine.cpp
  src/maintenance/TextFileSource.cpp
  src/maintenance/WordListMerge.cpp)
add_library(qelcore INTERFACE)
target_link_libraries(qelcore INTERFACE qel_search qel_maintenance qel_lookup)
qel_layer(qelcli FOLDERS cli USES qel_maintenance qel_lookup SOURCES
  src/cli/AnagramsCommand.cpp
  src/cli/Arguments.cpp
  src/cli/BuildCommand.cpp
  src/cli/Cli.cpp
  src/cli/DefineCommand.cpp
  src/cli/InfoCommands.cpp
  src/cli/InvalidDictionary.cpp
  src/cli/OutputBuffer.cpp
  src/cli/SearchCommand.cpp)

# Qt common: what every window shares. Resource files (help pages) are compiled in here.
qel_layer(qel_qt_common QT FOLDERS common/qt properties platform/qt USES qel_app_core
  LINKS Qt6::Widgets SOURCES
  src/common/qt/HelpWindow.cpp
  src/common/qt/MenuHints.cpp
  src/common/qt/ProgramCommandLine.cpp
  src/common/qt/ProgramIcon.cpp
  src/common/qt/SettingsFonts.cpp
  src/common/qt/SettingsStore.cpp
  src/common/qt/UserPrompts.cpp
  src/common/qt/WindowPosition.cpp
  src/platform/qt/CoreText.cpp
  src/properties/FontChooserDialog.cpp
  src/properties/PVWControls.cpp
  src/properties/PropertiesDialog.cpp
  resources/help.qrc)

# The views.
qel_layer(qel_definitions_qt QT FOLDERS definitions/qt USES qel_qt_common qel_definitions SOURCES
  src/definitions/qt/DefinitionRichEdit.cpp
  src/definitions/qt/DefinitionViewFrame.cpp
  src/definitions/qt/DefinitionViewWindows.cpp
  src/definitions/qt/DefinitionWindowList.cpp
  src/definitions/qt/DictionaryListViewWindows.cpp
  src/definitions/qt/QELDictionaryPropertiesWindows.cpp
  src/definitions/qt/RichTextDocument.cpp)
qel_layer(qel_search_qt QT FOLDERS search/qt USES qel_qt_common qel_search
  LINKS Qt6::PrintSupport SOURCES
  src/search/qt/MatchListLabelWindows.cpp
  src/search/qt/MatchListWindows.cpp
  src/search/qt/PrintDialogs.cpp
  src/search/qt/QELPrintPreview.cpp
  src/search/qt/QELPrintout.cpp
  src/search/qt/QELProgressBar.cpp
  src/search/qt/PaneMenus.cpp
  src/search/qt/PaneSplitter.cpp
  src/search/qt/PatternControls.cpp
  src/search/qt/QELViewWindows.cpp
  src/search/qt/ResultPanes.cpp
  src/search/qt/ResultRowStyle.cpp
  src/search/qt/SearchModeButton.cpp
  src/search/qt/SearchRunner.cpp)
qel_layer(qel_lookup_qt QT FOLDERS lookup/qt USES qel_definitions_qt qel_lookup
  LINKS Qt6::DBus SOURCES
  src/lookup/qt/ExternalLookupMenu.cpp
  src/lookup/qt/ExternalLookupViewWindows.cpp
  src/lookup/qt/LookupChannels.cpp
  src/lookup/qt/LookupDBus.cpp
  src/lookup/qt/LookupPerformer.cpp
  src/lookup/qt/LookupPropertiesViewWindows.cpp
  src/lookup/qt/LookupService.cpp
  src/lookup/qt/LookupWindowMessage.cpp)
qel_layer(qel_maintenance_qt QT FOLDERS maintenance/qt USES qel_qt_common qel_maintenance SOURCES
  src/maintenance/qt/QCDictionaryBuilderWindow.cpp
  src/maintenance/qt/QCDictionarySaveDialog.cpp
  src/maintenance/qt/QCDictionarySaveQELDialog.cpp
  src/maintenance/qt/QCWordListMergeWindow.cpp
  src/maintenance/qt/MaintenanceJobDialog.cpp)

# The application: the main frame over the views.
qel_layer(qel_app_qt QT FOLDERS app/qt
  USES qel_search_qt qel_definitions_qt qel_lookup_qt qel_maintenance_qt SOURCES
  src/app/qt/AppliedOptions.cpp
  src/app/qt/LookupCommands.cpp
  src/app/qt/QELFrameWindow.cpp
  src/app/qt/QELFrameWindowMenus.cpp
  src/app/qt/QELPropertiesViewWindows.cpp
  src/app/qt/QuickReferenceWindow.cpp
  src/app/qt/ResultsOutput.cpp
  src/app/qt/StartupTipsWindow.cpp
  src/app/qt/StatusText.cpp)

# The companion programs sit on the maintenance views alone.
qel_layer(qel_companions QT FOLDERS companions/builder companions/merger USES qel_maintenance_qt)
