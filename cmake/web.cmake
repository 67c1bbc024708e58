# The WebAssembly build (Emscripten; tools/web.sh configures it with emcmake): the page's game
# and kestrava-script for node, from the same sources as the desktop.
#
#   emcmake cmake -S . -B build-web -DKESTRAVA_HOST_BUILD=<a native build of the generators>
#
# The embedded files are made by the generators of a native build (KESTRAVA_HOST_BUILD), the
# music loops excepted: the programs make those at start-up (assets/CMakeLists.txt), which
# keeps the download small. Everything runs on the page's one thread: no -pthread, which would
# need cross-origin isolation headers from every server; each thread the desktop starts has a
# fallback on the caller's thread. The arithmetic is the desktop's (-ffp-contract=off, no
# fast-math, set by the top CMakeLists.txt), so the same keys give the same bytes.
set(KESTRAVA_HOST_BUILD "" CACHE PATH "A native build of this project that has built the asset generators")
if(NOT EXISTS "${KESTRAVA_HOST_BUILD}/CMakeCache.txt")
  message(FATAL_ERROR "KESTRAVA_HOST_BUILD must name a native build of Kestrava (tools/web.sh makes one)")
endif()

# Exceptions are part of the game's error handling (a bad file, a refused picture).
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# The platform's threads are the callers' own: an empty stand-in for the desktop's library.
add_library(Threads::Threads INTERFACE IMPORTED)

# Every WebAssembly program's memory grows with its pictures and sounds (the loops alone
# take 11 MB).
add_link_options(-sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=64MB)
