# What `cmake --install` adds beside the two programs (installed from app/ and cli/): the
# desktop entry and the program icon in the hicolor theme, where desktops look for them.
include(GNUInstallDirs)

install(FILES ${PROJECT_SOURCE_DIR}/resources/zeroraz.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/zeroraz.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
