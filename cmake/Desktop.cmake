# The desktop menu entry and its icon, drawn by the art tool from the game's
# emblem at build time.
set(VZ_ICON ${CMAKE_BINARY_DIR}/desktop/vizavu.png)
add_custom_command(OUTPUT ${VZ_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/desktop
  COMMAND ArtTool --icon ${VZ_ICON}
  DEPENDS ArtTool VERBATIM)
add_custom_target(vz_desktop_icon ALL DEPENDS ${VZ_ICON})

install(FILES ${PROJECT_SOURCE_DIR}/desktop/vizavu.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT desktop)
install(FILES ${VZ_ICON}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps COMPONENT desktop)
