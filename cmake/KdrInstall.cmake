# Desktop integration: launcher, metainfo, MIME type for .blfl, icon, udev rule, man pages.
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

# Manual pages are installed gzip-compressed, as Debian expects; -n keeps name and time
# stamp out of the file, so the package is the same from build to build.
find_program(KDR_GZIP gzip REQUIRED)
set(KDR_DOC_BUILD_DIR "${CMAKE_BINARY_DIR}/doc")
function(kdr_gzip_doc source name)
  set(out "${KDR_DOC_BUILD_DIR}/${name}.gz")
  add_custom_command(OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -E copy "${source}" "${KDR_DOC_BUILD_DIR}/${name}"
    COMMAND "${KDR_GZIP}" -9nf "${KDR_DOC_BUILD_DIR}/${name}"
    DEPENDS "${source}" VERBATIM)
  add_custom_target("kdr_gzip_${name}" ALL DEPENDS "${out}")
endfunction()
# The pages name the project version (@PROJECT_VERSION@ in their title lines).
foreach(page kdr450p-tool.1 kdr450p-editor.1)
  configure_file("${CMAKE_SOURCE_DIR}/resources/man/${page}" "${KDR_DOC_BUILD_DIR}/${page}.in"
                 @ONLY)
  kdr_gzip_doc("${KDR_DOC_BUILD_DIR}/${page}.in" ${page})
endforeach()

install(FILES "${KDR_DOC_BUILD_DIR}/kdr450p-tool.1.gz" "${KDR_DOC_BUILD_DIR}/kdr450p-editor.1.gz"
        DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")

set(KDR_APP_ICON "${CMAKE_SOURCE_DIR}/resources/icons/app-icon.svg")
if(EXISTS "${KDR_APP_ICON}")
  install(FILES "${KDR_APP_ICON}" RENAME "${KDR_APP_ID}.svg"
          DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()
