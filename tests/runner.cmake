# The runner's tests start the programs themselves, so they must be built first.
foreach(t runner_tests runner_display_tests)
  if(TARGET ${t})
    add_dependencies(${t} kestrava kestrava-script)
  endif()
endforeach()
