# Installing Pelmar like any desktop program, and its Debian package.
#
#   <prefix>/bin/pelmar, <prefix>/bin/pelmar-newdata
#   <prefix>/share/applications/pelmar.desktop
#   <prefix>/share/icons/hicolor/{scalable,NxN}/apps/pelmar.{svg,png}
#   <prefix>/share/pelmar/help/pelmar-support.html and its screenshots/
#   <prefix>/share/doc/pelmar/README.md, and help/ there linking to the help
#
# An installed Pelmar keeps its data in the user's own data folder; nothing
# of the build's data/ is installed. `cpack` in the build folder makes
# pelmar_<version>_amd64.deb (scripts/package does it from a Release build).
include(GNUInstallDirs)

set(PELMAR_PACKAGING_DIR ${CMAKE_CURRENT_LIST_DIR})

install(TARGETS pelmar pelmar-newdata RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PELMAR_PACKAGING_DIR}/pelmar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PELMAR_PACKAGING_DIR}/icons/pelmar.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PELMAR_PACKAGING_DIR}/icons/${size}x${size}/pelmar.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
# The program looks for its help page in <prefix>/share/pelmar/help when it
# is not beside the program file.
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/app/support/pelmar-support.html
        DESTINATION ${CMAKE_INSTALL_DATADIR}/pelmar/help)
install(FILES ${PELMAR_SCREENSHOTS} DESTINATION ${CMAKE_INSTALL_DATADIR}/pelmar/help/screenshots)
# Where a reader looks for a package's documents: the README, and the help
# page through a link to the one copy the program opens (a system that leaves
# out /usr/share/doc still has the help the program needs).
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmar)
file(CREATE_LINK ../../pelmar/help ${CMAKE_CURRENT_BINARY_DIR}/doc-help SYMBOLIC)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/doc-help DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelmar RENAME help)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelmar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pelmar")
set(CPACK_PACKAGE_CONTACT "Pelmar maintainers <pelmar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "pay statements for part-time staff paid by the hour")
set(CPACK_PACKAGE_DESCRIPTION
    "Pelmar is a desktop program for small Japanese businesses that pay part-time staff by the hour. \
Pick an employee, type the days worked, and the hours, amounts and totals are filled in as you type; \
statements are saved, listed, reopened and printed as a one-page 給与明細 with the company's name and details.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # pelmar_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt libraries the programs link come from dpkg-shlibdeps; what Qt loads
# at run time it cannot see: the SQLite driver, the X11 platform plugin, and
# the fonts the pages and the printed statement are drawn with.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins, fonts-ipafont-gothic, fonts-ipafont-mincho")
# Japanese dialog buttons (はい / いいえ), and a browser opener for the help page.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
include(CPack)
