# The resources folder sits beside the executable in the build tree
# (<build>/Resources) and, after installation, in the data folder named after
# the executable (share/vizavu/Resources), where a program on the engine
# looks for it.
set(VZ_RESOURCES_DIR ${CMAKE_BINARY_DIR}/Resources)
file(MAKE_DIRECTORY ${VZ_RESOURCES_DIR})

# Fonts are free fonts from Debian, copied under the names the program loads.
set(VZ_FONT_DIR /usr/share/fonts/truetype/dejavu)
set(VZ_FONTS
  "DejaVuSans-Bold.ttf=engeexbo.ttf"
  "DejaVuSans.ttf=MWinDefaultFont.ttf")
set(VZ_RESOURCE_OUTPUTS)
foreach(pair ${VZ_FONTS})
  string(REPLACE "=" ";" parts ${pair})
  list(GET parts 0 src)
  list(GET parts 1 dst)
  add_custom_command(OUTPUT ${VZ_RESOURCES_DIR}/${dst}
    COMMAND ${CMAKE_COMMAND} -E copy ${VZ_FONT_DIR}/${src} ${VZ_RESOURCES_DIR}/${dst}
    DEPENDS ${VZ_FONT_DIR}/${src} VERBATIM)
  list(APPEND VZ_RESOURCE_OUTPUTS ${VZ_RESOURCES_DIR}/${dst})
endforeach()

# Art and data committed under resources/ are copied as they are.
file(GLOB_RECURSE VZ_RESOURCE_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/resources/*)
foreach(f ${VZ_RESOURCE_FILES})
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/resources ${f})
  add_custom_command(OUTPUT ${VZ_RESOURCES_DIR}/${rel}
    COMMAND ${CMAKE_COMMAND} -E copy ${f} ${VZ_RESOURCES_DIR}/${rel}
    DEPENDS ${f} VERBATIM)
  list(APPEND VZ_RESOURCE_OUTPUTS ${VZ_RESOURCES_DIR}/${rel})
endforeach()

add_custom_target(vz_resources ALL DEPENDS ${VZ_RESOURCE_OUTPUTS})
install(DIRECTORY ${VZ_RESOURCES_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/vizavu/Resources)
