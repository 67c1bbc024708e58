# The SDL platform's test pushes SDL events of its own.
if(TARGET platform_tests)
  target_link_libraries(platform_tests PRIVATE PkgConfig::SDL2)
endif()
