# `make package`: a Debian package of what `cmake --install` puts under /usr, built by CPack.
# Library dependencies come from the binaries (dpkg-shlibdeps); the rest are what the program loads
# at run time without linking it: the Japanese Gothic face the windows are drawn in and Qt's own
# Japanese texts (print dialog, message-box buttons).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zentrix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Morvane)
set(CPACK_PACKAGE_CONTACT "${ZENTRIX_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "LOTO6 number predictor with a Japanese interface")
# Lines of the long description stay under 80 characters; an empty line separates paragraphs.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Zentrix keeps the history of past LOTO6 draws (six distinct numbers from 1"
    "to 43 and a bonus number) in one small file and proposes number sets for the"
    "next draw. Each number is drawn uniformly or weighted by how often or how"
    "recently it appeared, and a set is kept only if it passes the chosen rules"
    "for consecutive numbers, numbers carried over from the latest draw and the"
    "even/odd split. The sets are shown in a results window and can be printed."
    ""
    "The command zentrix-cli does the same from a terminal, imports results from"
    "CSV files, and adds statistics, exact counts of the sets that pass the rules"
    "and scoring of sets against a draw. The interface is in Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ZENTRIX_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
# The condensed bold face that stands in for Impact in the version dialog.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-extra")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
