# What a system install carries besides the programs and their data: manual
# pages, bash completion, the copyright and changelog files, and the Debian
# package built from all of it with CPack (scripts/package). Included after
# every target, so that the quillmark-cli rules see whether it is built.

include(GNUInstallDirs)

set(QUILLMARK_PACKAGE_MAINTAINER "The Quillmark developers <quillmark@example.org>"
    CACHE STRING "Maintainer field of the Debian package and its changelog")

# Debian wants man pages and changelogs compressed with gzip -9n: the -n leaves
# out the file name and time, so that the same page gives the same bytes.
set(packaging_dir ${PROJECT_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${packaging_dir})
function(quillmark_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND gzip -9n -c ${source} > ${output}
                     DEPENDS ${source} VERBATIM)
endfunction()

set(man_pages quillmark)
if(TARGET quillmark-cli)
  list(APPEND man_pages quillmark-cli)
endif()
set(compressed)
foreach(page IN LISTS man_pages)
  quillmark_gzip(${PROJECT_SOURCE_DIR}/resources/man/${page}.1 ${packaging_dir}/${page}.1.gz)
  list(APPEND compressed ${packaging_dir}/${page}.1.gz)
  install(FILES ${packaging_dir}/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# quillmark(1) also tells what quillmark-start does.
file(CREATE_LINK quillmark.1.gz ${packaging_dir}/quillmark-start.1.gz SYMBOLIC)
install(FILES ${packaging_dir}/quillmark-start.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(TARGET quillmark-cli)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/quillmark-cli.bash
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME quillmark-cli)
endif()

configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${packaging_dir}/changelog @ONLY)
quillmark_gzip(${packaging_dir}/changelog ${packaging_dir}/changelog.gz)
list(APPEND compressed ${packaging_dir}/changelog.gz)
add_custom_target(quillmark_packaging_files ALL DEPENDS ${compressed})

set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quillmark)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${packaging_dir}/changelog.gz DESTINATION ${doc_dir})

# The package: dependencies come from dpkg-shlibdeps; the window needs a Qt
# platform plugin, which the Qt libraries only recommend, and the Help button
# opens its page through xdg-open.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "inventory of a trading-card collection, published as web pages")
set(CPACK_PACKAGE_DESCRIPTION "\
Quillmark keeps a trading-card collector's inventory: every card (name,
series, condition, year, purchase price, quantity, picture address and
description) is one row of a sortable table. The collection lives in a
plain text file, one folder per collection. From it Quillmark publishes
two web pages, a catalogue with pictures and a compact list, filled from
HTML templates that the collector can edit.")
if(TARGET quillmark-cli)
  string(APPEND CPACK_PACKAGE_DESCRIPTION "

quillmark-cli publishes, exports, imports and counts a collection without
a window.")
endif()
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLMARK_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(QUILLMARK_HOME_PAGE)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${QUILLMARK_HOME_PAGE}")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Plugins, which the libraries' own dependencies do not name: the screens,
# and SQLite for the card index.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
