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
install(FILES ${PROJECT_SOURCE_DIR}/res/ketrilo.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${KETRILO_APP_ID}.svg)
install(FILES ${PROJECT_SOURCE_DIR}/data/ketrilo.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

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
# plug-in, which dpkg-shlibdeps cannot see; the Japanese font and the file-type icons.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk, adwaita-icon-theme")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "brasero | xfburn")
include(CPack)
