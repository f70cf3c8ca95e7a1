# The desktop entry test installs from this build tree.
if(TEST game_desktop_entry)
  target_compile_definitions(game_desktop_entry PRIVATE
    VZ_BUILD_DIR="${CMAKE_BINARY_DIR}" VZ_CMAKE_COMMAND="${CMAKE_COMMAND}")
  add_dependencies(game_desktop_entry vz_desktop_icon vizavu)
endif()
