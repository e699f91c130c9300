# Installation as a desktop program and the Debian package built by
# `cpack -G DEB`. Included from the top level after every target exists.
include(GNUInstallDirs)

# The one application id: desktop entry, metainfo, MIME package and icon are
# files of that name under packaging/ and the icon theme.
set(KORVEL_APP_ID org.korvel.korvel)
set(KORVEL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(KORVEL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/korvel)

install(TARGETS korvel-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET korvel)
  install(TARGETS korvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The window names its desktop entry, so docks show the entry's name and icon.
  target_compile_definitions(korvel PRIVATE KORVEL_APP_ID="${KORVEL_APP_ID}")
endif()

install(FILES ${KORVEL_PACKAGING_DIR}/${KORVEL_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${KORVEL_PACKAGING_DIR}/${KORVEL_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${KORVEL_PACKAGING_DIR}/${KORVEL_APP_ID}.xml
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/ui/resources/korvel.svg
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
  RENAME ${KORVEL_APP_ID}.svg)

file(GLOB KORVEL_LESSONS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.KRL)
install(FILES ${KORVEL_LESSONS} ${PROJECT_SOURCE_DIR}/examples/LEIAME.md
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/korvel/examples)

# Debian wants manual pages and changelogs compressed, without timestamps.
find_program(KORVEL_GZIP gzip REQUIRED)
set(KORVEL_GZIPPED)
foreach(source korvel.1 korvel-sim.1 changelog)
  set(gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/${source}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
    COMMAND ${KORVEL_GZIP} -9 -n -c ${KORVEL_PACKAGING_DIR}/${source} > ${gz}
    DEPENDS ${KORVEL_PACKAGING_DIR}/${source} VERBATIM)
  list(APPEND KORVEL_GZIPPED ${gz})
endforeach()
add_custom_target(korvel_compressed_docs ALL DEPENDS ${KORVEL_GZIPPED})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/korvel.1.gz
  ${CMAKE_CURRENT_BINARY_DIR}/packaging/korvel-sim.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz
  ${KORVEL_PACKAGING_DIR}/copyright DESTINATION ${KORVEL_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${KORVEL_DOC_DIR}/guia
  OPTIONAL FILES_MATCHING PATTERN "*.md" PATTERN "*.png")

# The icon theme's bitmap sizes, drawn from the SVG at build time.
if(TARGET Qt6::Svg)
  add_executable(korvel-render-icon ${KORVEL_PACKAGING_DIR}/RenderIcon.cpp)
  target_link_libraries(korvel-render-icon PRIVATE Qt6::Gui Qt6::Svg)
  set(KORVEL_ICONS)
  foreach(size 48 256)
    set(png ${CMAKE_CURRENT_BINARY_DIR}/packaging/icons/${size}/${KORVEL_APP_ID}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging/icons/${size}
      COMMAND korvel-render-icon ${PROJECT_SOURCE_DIR}/ui/resources/korvel.svg ${png} ${size}
      DEPENDS korvel-render-icon ${PROJECT_SOURCE_DIR}/ui/resources/korvel.svg VERBATIM)
    list(APPEND KORVEL_ICONS ${png})
    install(FILES ${png}
      DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(korvel_icons ALL DEPENDS ${KORVEL_ICONS})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Korvel <korvel@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "build causal models and watch them change")
# CPack puts the summary first and indents each line of the rest itself.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Korvel is a desktop program with which pupils build small causal models:
variables shown as gauges, joined by rate and proportion relationships.
Animating a model integrates it over time, moves the gauges and draws the
chosen variables in a graph. Models are saved as .KRL files and printed.
The interface is in Brazilian Portuguese, and ready lessons are included.

korvel-sim runs a model without the window and writes its levels as CSV
and its picture as PNG, SVG or PDF.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Text is drawn in Arial, which Liberation Sans stands in for; Qt's own
# dialogs speak Portuguese with its translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
