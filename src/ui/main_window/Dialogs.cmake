# The two information dialogs of the Help menu, frmNotice and frmAbout, with the logo compiled in.
# Included from this folder's CMakeLists.txt; the main window links zentrix_dialogs.
qt_add_library(zentrix_dialogs STATIC
    ${CMAKE_CURRENT_LIST_DIR}/NoticeDialog.cpp ${CMAKE_CURRENT_LIST_DIR}/NoticeDialog.h
    ${CMAKE_CURRENT_LIST_DIR}/AboutDialog.cpp ${CMAKE_CURRENT_LIST_DIR}/AboutDialog.h
    ${CMAKE_CURRENT_LIST_DIR}/FixedDialog.cpp ${CMAKE_CURRENT_LIST_DIR}/FixedDialog.h
)
qt_add_resources(zentrix_dialogs "zentrix_logo"
    PREFIX "/logo"
    BASE "${PROJECT_SOURCE_DIR}/data/logo"
    FILES "${PROJECT_SOURCE_DIR}/data/logo/zentrix-logo.bmp"
)
target_include_directories(zentrix_dialogs PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(zentrix_dialogs PUBLIC zentrix_ui_common Qt6::Widgets PRIVATE zentrix_warnings)
