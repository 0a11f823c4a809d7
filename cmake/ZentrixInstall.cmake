# Desktop installation: the application-menu entry and the icon in the hicolor theme, next to the
# programs that their own folders install into bin/. `cmake --install <build> --prefix ~/.local`
# (or /usr/local) makes Zentrix appear in the desktop's application menu.
if(ZENTRIX_BUILD_GUI)
    install(FILES ${PROJECT_SOURCE_DIR}/data/desktop/zentrix.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    foreach(size 16 32 48 64 128 256)
        install(FILES ${PROJECT_SOURCE_DIR}/data/icons/zentrix-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME zentrix.png)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/zentrix.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

# Installs this build into a temporary prefix and checks what lands there.
if(ZENTRIX_BUILD_TESTS)
    set(_zentrix_install_kind nogui)
    if(ZENTRIX_BUILD_GUI)
        set(_zentrix_install_kind gui)
    endif()
    set(_zentrix_installed_programs)
    foreach(program zentrix zentrix-cli)
        if(TARGET ${program})
            list(APPEND _zentrix_installed_programs ${program})
        endif()
    endforeach()
    add_test(NAME install_layout
             COMMAND ${PROJECT_SOURCE_DIR}/tests/install/check-install.sh
                     ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR} ${CMAKE_INSTALL_BINDIR}
                     ${CMAKE_INSTALL_DATADIR} ${_zentrix_install_kind}
                     ${_zentrix_installed_programs})
    set_tests_properties(install_layout PROPERTIES SKIP_RETURN_CODE 77)

    set(_zentrix_manual_programs $<TARGET_FILE:zentrix-cli>)
    if(TARGET zentrix)
        list(APPEND _zentrix_manual_programs $<TARGET_FILE:zentrix>)
    endif()
    add_test(NAME manual_pages
             COMMAND ${PROJECT_SOURCE_DIR}/tests/package/check-manuals.sh ${PROJECT_BINARY_DIR}/man
                     ${PROJECT_VERSION} ${_zentrix_manual_programs})
    set_tests_properties(manual_pages PROPERTIES SKIP_RETURN_CODE 77)
endif()

# Manual pages in English and Japanese (man -L ja), filled in with the version and compressed as
# Debian wants them: gzip -9 without a name or time stamp, so the same sources give the same bytes.
# The release date goes with project(VERSION): the newest entries of data/debian/changelog and of
# the AppStream releases carry the same version and date.
set(ZENTRIX_RELEASE_DATE 2026-12-07)
# The project's address is a placeholder until it has a public home.
set(ZENTRIX_HOMEPAGE "https://zentrix.example.org/")
set(ZENTRIX_MAINTAINER "Morvane <zentrix@example.org>")
set(_zentrix_man_pages zentrix-cli)
if(ZENTRIX_BUILD_GUI)
    list(APPEND _zentrix_man_pages zentrix)
endif()
set(_zentrix_man_outputs)
foreach(lang en ja)
    if(lang STREQUAL en)
        set(_zentrix_man_sub man1)
        set(_zentrix_man_src ${PROJECT_SOURCE_DIR}/data/man)
    else()
        set(_zentrix_man_sub ${lang}/man1)
        set(_zentrix_man_src ${PROJECT_SOURCE_DIR}/data/man/${lang})
    endif()
    # man/ holds only the compressed pages, laid out as installed, so `man -l` and MANPATH see
    # exactly what the package ships.
    set(_zentrix_man_in ${PROJECT_BINARY_DIR}/man-pages/${_zentrix_man_sub})
    set(_zentrix_man_out ${PROJECT_BINARY_DIR}/man/${_zentrix_man_sub})
    foreach(page ${_zentrix_man_pages})
        configure_file(${_zentrix_man_src}/${page}.1.in ${_zentrix_man_in}/${page}.1 @ONLY)
        add_custom_command(OUTPUT ${_zentrix_man_out}/${page}.1.gz
                           COMMAND gzip -9 -n -k -f ${page}.1
                           COMMAND ${CMAKE_COMMAND} -E make_directory ${_zentrix_man_out}
                           COMMAND ${CMAKE_COMMAND} -E rename ${page}.1.gz ${_zentrix_man_out}/${page}.1.gz
                           WORKING_DIRECTORY ${_zentrix_man_in}
                           DEPENDS ${_zentrix_man_in}/${page}.1
                           COMMENT "Compressing ${_zentrix_man_sub}/${page}.1" VERBATIM)
        list(APPEND _zentrix_man_outputs ${_zentrix_man_out}/${page}.1.gz)
        install(FILES ${_zentrix_man_out}/${page}.1.gz
                DESTINATION ${CMAKE_INSTALL_MANDIR}/${_zentrix_man_sub})
    endforeach()
endforeach()

# Documents under share/doc/zentrix: the README, the licence in Debian's copyright format (made
# from LICENSE, so the text has one home) and the release history.
set(ZENTRIX_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/zentrix)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE _zentrix_license)
string(REGEX REPLACE "^MIT License\n\n" "" _zentrix_license "${_zentrix_license}")
string(REGEX REPLACE "\n+$" "" _zentrix_license "${_zentrix_license}")
string(REGEX MATCH "Copyright \\(c\\) ([^\n]*)" _zentrix_holder "${_zentrix_license}")
set(_zentrix_holder "${CMAKE_MATCH_1}")
string(REPLACE "\n\n" "\n.\n" _zentrix_license "${_zentrix_license}")
string(REPLACE "\n" "\n " _zentrix_license "${_zentrix_license}")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/doc/copyright @ONLY
     CONTENT "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Zentrix
Upstream-Contact: @ZENTRIX_MAINTAINER@
Source: @ZENTRIX_HOMEPAGE@

Files: *
Copyright: @_zentrix_holder@
License: Expat

License: Expat
 @_zentrix_license@
")
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
                   COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/data/debian/changelog changelog
                   COMMAND gzip -9 -n -f changelog
                   WORKING_DIRECTORY ${PROJECT_BINARY_DIR}/doc
                   DEPENDS ${PROJECT_SOURCE_DIR}/data/debian/changelog
                   COMMENT "Compressing the changelog" VERBATIM)
add_custom_target(zentrix_docs ALL DEPENDS ${_zentrix_man_outputs} ${PROJECT_BINARY_DIR}/doc/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_BINARY_DIR}/doc/copyright
              ${PROJECT_BINARY_DIR}/doc/changelog.gz
        DESTINATION ${ZENTRIX_DOCDIR})

# Software centres read the AppStream metadata: description, screenshots, the menu entry it starts.
if(ZENTRIX_BUILD_GUI)
    install(FILES ${PROJECT_SOURCE_DIR}/data/metainfo/org.example.zentrix.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endif()
