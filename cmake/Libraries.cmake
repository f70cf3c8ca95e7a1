# One static library per folder group. Sources are picked up by folder, so a
# new module needs no edit here.

function(vz_library name)
  cmake_parse_arguments(L "" "" "DIRS;EXCLUDE" ${ARGN})
  set(srcs)
  foreach(d ${L_DIRS})
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${d}/*.cpp ${PROJECT_SOURCE_DIR}/${d}/*.c)
    list(APPEND srcs ${found})
  endforeach()
  foreach(x ${L_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "${x}")
  endforeach()
  if(NOT srcs)
    set(srcs ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/Engine)
endfunction()

# The engine's library holds main() (Engine/EngMainEntry.cpp, nothing else in
# that object): a program that defines none takes it from there and supplies
# only its program class and the four Main* functions. A program with a main()
# of its own keeps it, as the linker takes an archive member only for a symbol
# still undefined; test programs put Google Test's main() ahead of the engine.
vz_library(vz_engine DIRS Engine Engine/Linux Engine/GL Engine/OpenAL)
vz_library(vz_eztextfile DIRS EzTextFile)
vz_library(vz_json DIRS json)
vz_library(vz_mwin DIRS Engine/MWin)
vz_library(vz_game DIRS game)

target_link_libraries(vz_engine PUBLIC
  PkgConfig::SDL2 PkgConfig::X11 PkgConfig::GLEW PkgConfig::GL PkgConfig::GTK3 PkgConfig::FREETYPE
  PkgConfig::JPEG PkgConfig::TIFF vz_soil PkgConfig::OPENAL PkgConfig::ALUT PkgConfig::TOMCRYPT
  PkgConfig::FLUIDSYNTH PkgConfig::CURL Threads::Threads)
target_link_libraries(vz_engine PUBLIC PkgConfig::STB)
# The engine and its text-file readers call each other.
target_link_libraries(vz_eztextfile PUBLIC vz_engine)
target_link_libraries(vz_engine PUBLIC vz_eztextfile)
# The engine's typed JSON access and the JSON library call each other.
target_link_libraries(vz_json PUBLIC vz_engine)
target_link_libraries(vz_engine PUBLIC vz_json)
target_link_libraries(vz_mwin PUBLIC vz_engine vz_json)
target_link_libraries(vz_game PUBLIC vz_mwin vz_engine PkgConfig::QQWING PkgConfig::CURL)
# The engine calls the game's entry functions (MainGetGameName and the rest,
# all in game/Game.cpp), but the linker has passed the game library by the time
# the engine asks for them: every program linking the game keeps that object.
target_link_options(vz_game INTERFACE "LINKER:--undefined=_Z28MainCreateAndInitMainProgramPviPPcPi")
