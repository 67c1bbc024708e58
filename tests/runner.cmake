# The runner's tests start the programs themselves, so they must be built first.
if(TARGET runner_tests)
  add_dependencies(runner_tests kestrava kestrava-script)
endif()
