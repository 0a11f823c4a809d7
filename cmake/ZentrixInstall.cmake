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
endif()
