# The picture tests decode the embedded PNG files with libpng themselves.
if(TARGET assets_tests)
  target_link_libraries(assets_tests PRIVATE PNG::PNG)
endif()
