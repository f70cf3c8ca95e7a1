# libFuzzer targets, built on request (VZ_FUZZ) with clang and the sanitizers;
# never part of the tests. `make fuzz` builds and runs them.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "VZ_FUZZ needs clang (-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)")
endif()

# The picture route: fuzz/PictureFuzz.cpp, and the seed files it starts from.
add_executable(fuzz_pictures ${PROJECT_SOURCE_DIR}/fuzz/PictureFuzz.cpp)
target_link_libraries(fuzz_pictures PRIVATE vz_engine)
target_link_options(fuzz_pictures PRIVATE -fsanitize=fuzzer)
add_executable(fuzz_pictures_seeds ${PROJECT_SOURCE_DIR}/fuzz/PictureSeeds.cpp)
target_link_libraries(fuzz_pictures_seeds PRIVATE vz_engine)
target_include_directories(fuzz_pictures_seeds PRIVATE ${PROJECT_SOURCE_DIR}/tests)
set_target_properties(fuzz_pictures fuzz_pictures_seeds PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
