# The keyboard tests press keys through the X server's test extension.
if(TEST MWin_keyboard_display)
  target_link_libraries(MWin_keyboard_display PRIVATE Xtst)
endif()
