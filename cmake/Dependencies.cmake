# Every dependency comes from Debian and is found through pkg-config.
find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)

pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(GLEW REQUIRED IMPORTED_TARGET glew)
pkg_check_modules(GL REQUIRED IMPORTED_TARGET gl)
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)
# Window-manager hints and pointer control on X11.
pkg_check_modules(X11 REQUIRED IMPORTED_TARGET x11)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(JPEG REQUIRED IMPORTED_TARGET libjpeg)
# TIFF pictures of the native dialog kit.
pkg_check_modules(TIFF REQUIRED IMPORTED_TARGET libtiff-4)
pkg_check_modules(OPENAL REQUIRED IMPORTED_TARGET openal)
pkg_check_modules(ALUT REQUIRED IMPORTED_TARGET freealut)
pkg_check_modules(TOMCRYPT REQUIRED IMPORTED_TARGET libtomcrypt)
pkg_check_modules(QQWING REQUIRED IMPORTED_TARGET qqwing)
pkg_check_modules(CURL REQUIRED IMPORTED_TARGET libcurl)
pkg_check_modules(FLUIDSYNTH REQUIRED IMPORTED_TARGET fluidsynth)
pkg_check_modules(GTEST REQUIRED IMPORTED_TARGET gtest)
pkg_check_modules(GTEST_MAIN REQUIRED IMPORTED_TARGET gtest_main)
pkg_check_modules(GMOCK REQUIRED IMPORTED_TARGET gmock)
# The tests' TLS server makes its certificate with OpenSSL.
pkg_check_modules(OPENSSL REQUIRED IMPORTED_TARGET openssl)

# Debian's SOIL ships no pkg-config file. Only its header is used: its library
# carries an old copy of stb_image whose symbols would shadow the system one.
find_path(SOIL_INCLUDE_DIR NAMES SOIL/SOIL.h REQUIRED)
add_library(vz_soil INTERFACE)
target_include_directories(vz_soil SYSTEM INTERFACE ${SOIL_INCLUDE_DIR})

# stb_image decodes every image file but JPEG.
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
