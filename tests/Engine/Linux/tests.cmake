# The key tests press keys through the X server's test extension.
if(TEST Engine_Linux_keys_display)
  target_link_libraries(Engine_Linux_keys_display PRIVATE Xtst)
endif()
