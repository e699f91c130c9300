# Installation as a desktop program; debian/ packages what these rules
# install. Included from the top level after every target exists.
include(GNUInstallDirs)

# The one application id: desktop entry, metainfo, MIME package and icon are
# files of that name under packaging/ and the icon theme.
set(KORVEL_APP_ID org.korvel.korvel)
set(KORVEL_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)

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

install(FILES ${KORVEL_PACKAGING_DIR}/korvel.1 ${KORVEL_PACKAGING_DIR}/korvel-sim.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${KORVEL_PACKAGING_DIR}/pt_BR/korvel.1 ${KORVEL_PACKAGING_DIR}/pt_BR/korvel-sim.1
  DESTINATION ${CMAKE_INSTALL_MANDIR}/pt_BR/man1)

# The icon theme's bitmap sizes, drawn from the SVG at build time.
if(TARGET Qt6::Svg)
  add_executable(korvel-render-icon ${KORVEL_PACKAGING_DIR}/RenderIcon.cpp)
  target_link_libraries(korvel-render-icon PRIVATE Qt6::Gui Qt6::Svg)
  set(KORVEL_ICONS)
  foreach(size 16 22 24 32 48 64 128 256)
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

# The guide and the lessons' notes as HTML pages. The build tree holds them
# where they are installed, relative to share/ (build/share/doc/korvel/guia,
# build/share/korvel/examples), so the links between them work in both.
find_program(KORVEL_CMARK cmark-gfm REQUIRED)
set(KORVEL_GUIDE_DIR doc/korvel/guia)
set(KORVEL_LESSON_NOTES_DIR korvel/examples)
set(KORVEL_HTML)
file(GLOB KORVEL_GUIDE_PAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
foreach(page ${KORVEL_GUIDE_PAGES} ${PROJECT_SOURCE_DIR}/examples/LEIAME.md)
  get_filename_component(name ${page} NAME_WE)
  if(name STREQUAL "LEIAME")
    set(dir ${KORVEL_LESSON_NOTES_DIR})
    set(home ../../doc/korvel/guia/index.html)
  else()
    set(dir ${KORVEL_GUIDE_DIR})
    set(home index.html)
  endif()
  if(name STREQUAL "index")
    set(home "")
  endif()
  set(html ${PROJECT_BINARY_DIR}/share/${dir}/${name}.html)
  add_custom_command(OUTPUT ${html}
    COMMAND ${CMAKE_COMMAND} -DCMARK=${KORVEL_CMARK} -DSOURCE=${page} -DOUTPUT=${html}
      -DGUIDE_HOME=${home} -P ${PROJECT_SOURCE_DIR}/cmake/RenderGuidePage.cmake
    DEPENDS ${page} ${PROJECT_SOURCE_DIR}/cmake/RenderGuidePage.cmake VERBATIM)
  list(APPEND KORVEL_HTML ${html})
endforeach()
file(GLOB KORVEL_GUIDE_PICTURES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/imagens/*.png)
foreach(picture ${KORVEL_GUIDE_PICTURES})
  get_filename_component(name ${picture} NAME)
  set(copy ${PROJECT_BINARY_DIR}/share/${KORVEL_GUIDE_DIR}/imagens/${name})
  add_custom_command(OUTPUT ${copy}
    COMMAND ${CMAKE_COMMAND} -E copy ${picture} ${copy} DEPENDS ${picture} VERBATIM)
  list(APPEND KORVEL_HTML ${copy})
endforeach()
add_custom_target(korvel_guide ALL DEPENDS ${KORVEL_HTML})
install(DIRECTORY ${PROJECT_BINARY_DIR}/share/${KORVEL_GUIDE_DIR}/
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/${KORVEL_GUIDE_DIR})
install(FILES ${PROJECT_BINARY_DIR}/share/${KORVEL_LESSON_NOTES_DIR}/LEIAME.html
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/${KORVEL_LESSON_NOTES_DIR})
