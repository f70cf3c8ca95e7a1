# The key and window tests press keys and click through the X server's test
# extension.
if(TEST Engine_Linux_keys_display)
  target_link_libraries(Engine_Linux_keys_display PRIVATE Xtst)
endif()
if(TEST Engine_Linux_window_display)
  target_link_libraries(Engine_Linux_window_display PRIVATE Xtst)
endif()
if(TEST Engine_Linux_interface_files_gtk)
  target_link_libraries(Engine_Linux_interface_files_gtk PRIVATE Xtst X11)
endif()
# A program that defines no main() and links the engine's libraries only: it
# takes main() from the engine. Its test starts it as a separate process.
add_executable(vz_second_program ${CMAKE_CURRENT_LIST_DIR}/SecondProgram.cpp)
target_link_libraries(vz_second_program PRIVATE vz_engine)
target_include_directories(vz_second_program PRIVATE ${PROJECT_SOURCE_DIR}/tests)
set_target_properties(vz_second_program PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
if(TEST Engine_Linux_second_program_display)
  target_compile_definitions(Engine_Linux_second_program_display PRIVATE
    VZ_SECOND_PROGRAM="$<TARGET_FILE:vz_second_program>")
  add_dependencies(Engine_Linux_second_program_display vz_second_program)
endif()
# A full-screen program on the engine that shows a box of its own; its test
# starts it as a separate process and types at the box.
add_executable(vz_box_program ${CMAKE_CURRENT_LIST_DIR}/BoxProgram.cpp)
target_link_libraries(vz_box_program PRIVATE vz_engine)
target_include_directories(vz_box_program PRIVATE ${PROJECT_SOURCE_DIR}/tests)
set_target_properties(vz_box_program PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
if(TEST Engine_Linux_box_over_window_display)
  target_compile_definitions(Engine_Linux_box_over_window_display PRIVATE
    VZ_BOX_PROGRAM="$<TARGET_FILE:vz_box_program>")
  target_link_libraries(Engine_Linux_box_over_window_display PRIVATE Xtst)
  add_dependencies(Engine_Linux_box_over_window_display vz_box_program)
  # Ten starts of a full-screen program: minutes on a loaded machine.
  set_tests_properties(Engine_Linux_box_over_window_display PROPERTIES TIMEOUT 1500)
endif()
