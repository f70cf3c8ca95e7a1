# The offscreen device test needs no X server, but Mesa's EGL keeps memory
# the leak checker reports: run it with the display tests' environment.
if(TEST GL_device_offscreen)
  set_tests_properties(GL_device_offscreen PROPERTIES ENVIRONMENT "${VZ_DISPLAY_ENV}")
endif()
