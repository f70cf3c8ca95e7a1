# The desktop entry test installs from this build tree.
if(TEST game_desktop_entry)
  target_compile_definitions(game_desktop_entry PRIVATE
    VZ_BUILD_DIR="${CMAKE_BINARY_DIR}" VZ_CMAKE_COMMAND="${CMAKE_COMMAND}")
  add_dependencies(game_desktop_entry vz_desktop_icon vizavu)
endif()
# The display-settings dialog is clicked and typed at through the X server's
# test extension.
if(TEST game_resolution_dialog_gtk)
  target_link_libraries(game_resolution_dialog_gtk PRIVATE Xtst X11)
endif()
