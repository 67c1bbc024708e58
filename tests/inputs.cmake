# The loader tests make their PNG inputs with zlib (draw2d/png_inputs.cpp), and
# kestrava-fuzz-seeds writes every made PNG and WAV input into a folder for tools/fuzz.sh.
foreach(t draw2d_tests draw2d_display_tests)
  if(TARGET ${t})
    target_link_libraries(${t} PRIVATE ZLIB::ZLIB)
  endif()
endforeach()
add_executable(kestrava-fuzz-seeds fuzz/seeds.cpp draw2d/png_inputs.cpp audio/wav_inputs.cpp)
target_include_directories(kestrava-fuzz-seeds PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(kestrava-fuzz-seeds PRIVATE KESTRAVA_TESTDATA="${CMAKE_CURRENT_SOURCE_DIR}/data")
target_link_libraries(kestrava-fuzz-seeds PRIVATE ZLIB::ZLIB)
set_target_properties(kestrava-fuzz-seeds PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/fuzz)
