# Fuzz targets: every tests/fuzz/<name>.cpp becomes the libFuzzer program <name>, built only
# with clang. tools/fuzz.sh configures a separate clang build and runs each of them.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(source ${fuzz_sources})
    get_filename_component(name ${source} NAME_WE)
    add_executable(${name} ${source})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE kestrava_draw2d kestrava_audio)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
    list(APPEND kestrava_fuzz_targets ${name})
  endforeach()
  if(kestrava_fuzz_targets)
    add_custom_target(kestrava_fuzz DEPENDS ${kestrava_fuzz_targets})
  endif()
endif()

# The same targets as ordinary tests in every build: <name>_regressions feeds each of them the
# saved corpus tests/fuzz/corpus/<kind>/ (inputs the fuzzer found worth keeping, and any that
# once failed) and every input the loader tests make (kestrava-fuzz-seeds), so the sanitizer
# stage of tools/test.sh replays them all. <kind> is the target's name before "_fuzz".
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT CMAKE_CXX_FLAGS MATCHES "fuzzer")
  set(seeds ${PROJECT_BINARY_DIR}/fuzz/seeds)
  add_test(NAME fuzz.MakeSeeds COMMAND kestrava-fuzz-seeds ${seeds})
  set_tests_properties(fuzz.MakeSeeds PROPERTIES FIXTURES_SETUP fuzz_seeds)
  file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
  foreach(source ${fuzz_sources})
    get_filename_component(name ${source} NAME_WE)
    string(REGEX REPLACE "_fuzz$" "" kind ${name})
    add_executable(${name}_regressions ${source} fuzz/regressions.cpp)
    target_link_libraries(${name}_regressions PRIVATE kestrava_draw2d kestrava_audio kestrava_test_main)
    target_compile_definitions(${name}_regressions PRIVATE
      KESTRAVA_FUZZ_CORPUS="${CMAKE_CURRENT_SOURCE_DIR}/fuzz/corpus/${kind}" KESTRAVA_FUZZ_SEEDS="${seeds}/${kind}")
    add_test(NAME fuzz.${name}.SavedAndMadeInputsLoadOrAreRefused COMMAND ${name}_regressions)
    set_tests_properties(fuzz.${name}.SavedAndMadeInputsLoadOrAreRefused PROPERTIES FIXTURES_REQUIRED fuzz_seeds)
  endforeach()
endif()
