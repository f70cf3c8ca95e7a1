# Every tests/<folder>/test_<name>.cpp becomes one test program <folder>_<name>.
#  - tests under tests/game link the game library, tests/MWin the toolkit's,
#    all others the engine's;
#  - a file whose name ends in _gl, _gtk or _display runs with an X server of
#    its own (tests/support/RunWithXvfb.sh) and Mesa's software renderer (leak checks off: the drivers keep their memory);
#  - a file that mentions VZ_TEST_OWN_MAIN brings its own main();
#  - a program where some cases skip and none fails ends with status 77
#    (tests/support/SkipStatus.cpp), which ctest shows as skipped; one
#    where a case fails shows as failed whatever else skipped;
#  - labels: "display" for the tests with an X server of their own, "headless"
#    for the others (ctest -L takes a pattern: no label may contain another);
#  - a folder may add anything else in tests/<folder>/tests.cmake.

file(GLOB VZ_SUPPORT_SRC CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
set(VZ_SKIP_STATUS_SRC ${PROJECT_SOURCE_DIR}/tests/support/SkipStatus.cpp)
list(REMOVE_ITEM VZ_SUPPORT_SRC ${VZ_SKIP_STATUS_SRC})
add_library(vz_testsupport STATIC ${VZ_SUPPORT_SRC})
target_link_libraries(vz_testsupport PUBLIC vz_engine PkgConfig::GTEST PkgConfig::GMOCK PkgConfig::OPENSSL)
target_include_directories(vz_testsupport PUBLIC ${PROJECT_SOURCE_DIR}/tests)
# Nothing refers to it: an object library puts it in every test program.
add_library(vz_skipstatus OBJECT ${VZ_SKIP_STATUS_SRC})
target_link_libraries(vz_skipstatus PUBLIC PkgConfig::GTEST)

find_library(VZ_GTEST_MAIN_ARCHIVE NAMES libgtest_main.a HINTS ${GTEST_MAIN_LIBRARY_DIRS} REQUIRED)

find_program(VZ_XVFB Xvfb)
find_program(VZ_XAUTH xauth)
if(NOT VZ_XVFB OR NOT VZ_XAUTH)
  message(WARNING "Xvfb and xauth are needed to run the display tests")
endif()
set(VZ_RUN_WITH_XVFB ${PROJECT_SOURCE_DIR}/tests/support/RunWithXvfb.sh)
set(VZ_TEST_ENV
  "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "VZ_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
  "VZ_RESOURCES_DIR=${VZ_RESOURCES_DIR}")
set(VZ_DISPLAY_ENV
  "ASAN_OPTIONS=detect_leaks=0"
  "UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1"
  "LIBGL_ALWAYS_SOFTWARE=1"
  "GALLIUM_DRIVER=llvmpipe"
  "NO_AT_BRIDGE=1"
  "VZ_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
  "VZ_RESOURCES_DIR=${VZ_RESOURCES_DIR}")
# Whatever display the caller has: tests without one see none, display tests
# see only the X server started for them.
set(VZ_NO_DISPLAY_ENV_MOD "DISPLAY=unset:" "WAYLAND_DISPLAY=unset:")
set(VZ_OWN_DISPLAY_ENV_MOD "WAYLAND_DISPLAY=unset:")

# vz_add_test(<name> SOURCES ... [LIBS ...] [DISPLAY] [OWN_MAIN])
function(vz_add_test name)
  cmake_parse_arguments(T "DISPLAY;OWN_MAIN" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  # The engine's library has a main() too: Google Test's is linked whole and
  # ahead of it, so that the engine's is never taken (and were it taken, the
  # two would clash at link time rather than run a program in place of tests).
  if(NOT T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE
      "-Wl,--whole-archive" ${VZ_GTEST_MAIN_ARCHIVE} "-Wl,--no-whole-archive" PkgConfig::GTEST_MAIN)
  endif()
  target_link_libraries(${name} PRIVATE vz_testsupport vz_skipstatus ${T_LIBS})
  target_link_libraries(${name} PRIVATE PkgConfig::GMOCK PkgConfig::GTEST)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  add_dependencies(${name} vz_resources)
  if(T_DISPLAY)
    add_test(NAME ${name}
      COMMAND ${VZ_RUN_WITH_XVFB} "-screen 0 1280x1024x24" $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${VZ_DISPLAY_ENV}" LABELS display
      ENVIRONMENT_MODIFICATION "${VZ_OWN_DISPLAY_ENV_MOD}")
  else()
    add_test(NAME ${name} COMMAND $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${VZ_TEST_ENV}" LABELS headless
      ENVIRONMENT_MODIFICATION "${VZ_NO_DISPLAY_ENV_MOD}")
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT 600 SKIP_RETURN_CODE 77
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endfunction()

file(GLOB_RECURSE VZ_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/test_*.cpp)
foreach(src ${VZ_TEST_SOURCES})
  file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/tests ${src})
  get_filename_component(dir ${rel} DIRECTORY)
  get_filename_component(base ${rel} NAME_WE)
  string(REGEX REPLACE "^test_" "" short ${base})
  string(REPLACE "/" "_" prefix ${dir})
  set(name ${prefix}_${short})
  set(flags)
  if(short MATCHES "_(gl|gtk|display)$")
    list(APPEND flags DISPLAY)
  endif()
  file(STRINGS ${src} own_main REGEX "VZ_TEST_OWN_MAIN")
  if(own_main)
    list(APPEND flags OWN_MAIN)
  endif()
  if(dir MATCHES "^game")
    set(libs vz_game)
  elseif(dir MATCHES "^MWin")
    set(libs vz_mwin vz_eztextfile)
  else()
    set(libs vz_engine vz_eztextfile vz_json)
  endif()
  vz_add_test(${name} SOURCES ${src} LIBS ${libs} ${flags})
endforeach()

file(GLOB_RECURSE VZ_TEST_EXTRAS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*/tests.cmake)
foreach(x ${VZ_TEST_EXTRAS})
  include(${x})
endforeach()
