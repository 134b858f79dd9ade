# The Debian package: "cpack -G DEB" in the build folder makes qel_<version>_<arch>.deb of what
# "cmake --install" puts in place, under /usr, with its dependencies worked out from the programs
# (dpkg-shlibdeps). Build the default dictionary first: the package holds it when it is there.
include(GNUInstallDirs)

# What Debian asks of every package's documentation folder: the copyright and licences, and the
# changelog compressed reproducibly (no name or time stamp in the gzip header).
set(QEL_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/qel)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
  COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/debian/changelog
          > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  DEPENDS ${CMAKE_SOURCE_DIR}/packaging/debian/changelog
  VERBATIM)
add_custom_target(qel-changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz packaging/debian/copyright
              LICENSES/WordNet-3.0.txt LICENSES/SCOWL-word-list.txt
        DESTINATION ${QEL_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "QEL developers <qel@qelwords.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "word finder for crossword solvers and setters")
# The long description under the summary; CPack indents it and marks the empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "QEL finds the words and phrases that fit a crossword pattern (.l...r.n),
an anagram with blanks (;lobikes, ;..oting), letter variables (12341234)
and logical combinations of patterns, in compressed dictionaries, in
milliseconds. Results are listed per dictionary, sorted and grouped by
length with anagram balances; stored definitions are shown and searched in
full text, and a word can be handed to a web search.

The package holds the window program qel, the command-line tool qel-cli,
the dictionary builder and the word-list merger, and a default dictionary
of English words and phrases with their definitions.")
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://qelwords.github.io/qel/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
