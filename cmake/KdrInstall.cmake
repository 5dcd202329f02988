# Desktop integration: launcher, metainfo, MIME type for .blfl, icon, udev rule, man page.
include(GNUInstallDirs)
set(KDR_APP_ID ag.brenlow.KDR450PEditor)
set(KDR_DESKTOP_DIR "${CMAKE_SOURCE_DIR}/resources/desktop")

install(FILES "${KDR_DESKTOP_DIR}/${KDR_APP_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${KDR_DESKTOP_DIR}/${KDR_APP_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${KDR_DESKTOP_DIR}/kdr450p-library.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages")
install(FILES "${CMAKE_SOURCE_DIR}/resources/udev/60-kdr450p.rules"
        DESTINATION "lib/udev/rules.d")
install(FILES "${CMAKE_SOURCE_DIR}/resources/man/kdr450p-tool.1"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

set(KDR_APP_ICON "${CMAKE_SOURCE_DIR}/resources/icons/app-icon.svg")
if(EXISTS "${KDR_APP_ICON}")
  install(FILES "${KDR_APP_ICON}" RENAME "${KDR_APP_ID}.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()
