# Installs Ketrilo the freedesktop way and packs the same install as a Debian package
# (cpack -G DEB), whose library dependencies dpkg-shlibdeps works out.
include(GNUInstallDirs)

set(KETRILO_APP_ID io.github.ketrilo.Ketrilo)

install(TARGETS ketrilo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/ketrilodisclist.ini
        DESTINATION ${CMAKE_INSTALL_DATADIR}/ketrilo)
install(FILES ${PROJECT_SOURCE_DIR}/data/${KETRILO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/${KETRILO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The type the entry names for folders (see the file); Debian's triggers rebuild the MIME
# and desktop caches after the package is installed.
install(FILES ${PROJECT_SOURCE_DIR}/data/${KETRILO_APP_ID}.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/res/ketrilo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${KETRILO_APP_ID}.svg)

# The man page and the changelog compressed, as Debian keeps them (-n: no time stamp, so
# that the same sources give the same package); the copyright beside the changelog.
set(KETRILO_GZIPPED_DIR ${CMAKE_CURRENT_BINARY_DIR}/gzipped)
set(KETRILO_GZIPPED)
foreach(doc ketrilo.1 changelog)
  add_custom_command(OUTPUT ${KETRILO_GZIPPED_DIR}/${doc}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/${doc} ${KETRILO_GZIPPED_DIR}/${doc}
    COMMAND gzip -9 -n -f ${KETRILO_GZIPPED_DIR}/${doc}
    DEPENDS ${PROJECT_SOURCE_DIR}/data/${doc} VERBATIM)
  list(APPEND KETRILO_GZIPPED ${KETRILO_GZIPPED_DIR}/${doc}.gz)
endforeach()
add_custom_target(ketrilo_gzipped_docs ALL DEPENDS ${KETRILO_GZIPPED})
install(FILES ${KETRILO_GZIPPED_DIR}/ketrilo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${KETRILO_GZIPPED_DIR}/changelog.gz ${PROJECT_SOURCE_DIR}/data/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ketrilo)

set(CPACK_PACKAGE_NAME ketrilo)
set(CPACK_PACKAGE_VENDOR "Ketrilo maintainers")
set(CPACK_PACKAGE_CONTACT "Ketrilo maintainers <maintainers@users.noreply.c-seed-59976841.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "prepare the contents of a data disc before burning it")
set(CPACK_PACKAGE_DESCRIPTION "Ketrilo lists a folder with the space each item takes on a \
CD, DVD or Blu-ray disc, gathers items into a well against the disc's capacity, and hands \
the well to the burning program by drag and drop.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program loads at run time rather than links: Qt's SVG
# plug-in, which dpkg-shlibdeps cannot see; the Japanese font, the file-type icons and
# Qt's Wayland plug-in, without which a Wayland session with no XWayland cannot start it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-ipafont-gothic | fonts-noto-cjk, adwaita-icon-theme, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "brasero | xfburn")
include(CPack)
