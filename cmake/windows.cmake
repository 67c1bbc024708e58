# The Windows build (cmake/mingw-w64.cmake; tools/windows.sh configures it): kestrava.exe on
# the Win32 platform (platform/win32/) and kestrava-script.exe, from the same sources as the
# desktop, each one file that needs nothing but the DLLs every Windows has.
#
# The embedded files, the music loops among them, are made by the generators of a native build
# (KESTRAVA_HOST_BUILD). PNG is read with stb_image, as on the web: there is no libpng here.
# The arithmetic is the desktop's: -ffp-contract=off and no fast-math (the top CMakeLists.txt),
# and x86-64 computes float and double in SSE2 registers on both systems.
set(KESTRAVA_HOST_BUILD "" CACHE PATH "A native build of this project that has built the asset generators")
if(NOT EXISTS "${KESTRAVA_HOST_BUILD}/CMakeCache.txt")
  message(FATAL_ERROR "KESTRAVA_HOST_BUILD must name a native build of Kestrava (tools/windows.sh makes one)")
endif()

# M_PI and the other constants of <cmath>, which MinGW's headers hide without it.
add_compile_definitions(_USE_MATH_DEFINES)
# The C++ library, libgcc and the threads library linked in: no DLL of the compiler's to ship.
add_link_options(-static)
# No symbols in the programs a player downloads (the runtime libraries bring debug sections).
add_link_options($<$<CONFIG:Release>:-s>)

set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)
find_package(OpenGL REQUIRED)
find_package(Threads REQUIRED)
enable_language(RC)

# The icon (made by assets/icon/) and the version information, as resources of a program.
set(KESTRAVA_ICO ${PROJECT_BINARY_DIR}/kestrava.ico)
function(kestrava_windows_resources target description)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  set(KESTRAVA_RC_DESCRIPTION ${description})
  set(KESTRAVA_RC_FILE ${target}.exe)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/windows.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${KESTRAVA_ICO})
  target_sources(${target} PRIVATE ${rc})
  add_dependencies(${target} kestrava_ico)
endfunction()

# The OpenGL ES 2 driver's headers, which MinGW lacks: Khronos' API headers as Debian's
# libgles-dev and libgl-dev install them, linked into the build so that nothing else of the
# build machine's /usr/include comes along.
set(KESTRAVA_KHRONOS_INCLUDE ${PROJECT_BINARY_DIR}/khronos)
file(MAKE_DIRECTORY ${KESTRAVA_KHRONOS_INCLUDE})
foreach(dir GLES2 KHR)
  file(CREATE_LINK /usr/include/${dir} ${KESTRAVA_KHRONOS_INCLUDE}/${dir} SYMBOLIC)
endforeach()
include_directories(SYSTEM ${KESTRAVA_KHRONOS_INCLUDE})
