# The game, and the engine's own demo program (a window that clears to a
# colour). Both take main() from the engine's library; the game's program class
# and Main* functions are in its library, the demo's in its one source file.
add_executable(vizavu ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
target_link_libraries(vizavu PRIVATE vz_game)

add_executable(engine_demo ${PROJECT_SOURCE_DIR}/tools/EngineDemoEntry.cpp)
target_link_libraries(engine_demo PRIVATE vz_engine)
set_target_properties(engine_demo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
add_dependencies(engine_demo vz_resources)
add_dependencies(vizavu vz_resources)
install(TARGETS vizavu RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Benchmarks: one program per bench/*.cpp, run by hand; they may make their
# input with the tests' header-only helpers (tests/support).
file(GLOB VZ_BENCHES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*.cpp)
foreach(b ${VZ_BENCHES})
  get_filename_component(n ${b} NAME_WE)
  add_executable(bench_${n} ${b})
  target_link_libraries(bench_${n} PRIVATE vz_game)
  target_include_directories(bench_${n} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  set_target_properties(bench_${n} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endforeach()

# Generators under tools/: each tools/*Tool.cpp becomes a program.
file(GLOB VZ_TOOLS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tools/*Tool.cpp)
foreach(t ${VZ_TOOLS})
  get_filename_component(n ${t} NAME_WE)
  add_executable(${n} ${t})
  target_link_libraries(${n} PRIVATE vz_game)
  set_target_properties(${n} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endforeach()
