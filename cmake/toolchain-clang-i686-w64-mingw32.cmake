# The second compiler: Debian's clang targeting 32-bit mingw-w64, with the headers, libraries
# and linker of Debian's mingw-w64 gcc (-posix). The test command builds the sources with it,
# warnings as errors; the shipped exe is gcc's.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${MINGW_PREFIX})

# clang 14 does not find gcc's C++ library for this target in Debian's layout: named here.
file(GLOB SNAPVANE_MINGW_GCC_DIR LIST_DIRECTORIES true /usr/lib/gcc/${MINGW_PREFIX}/*-posix)
list(GET SNAPVANE_MINGW_GCC_DIR 0 SNAPVANE_MINGW_GCC_DIR)
set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${SNAPVANE_MINGW_GCC_DIR}/include/c++ -isystem ${SNAPVANE_MINGW_GCC_DIR}/include/c++/${MINGW_PREFIX} -isystem ${SNAPVANE_MINGW_GCC_DIR}/include/c++/backward"
)
# Static as gcc's build. The driver puts the libraries it adds itself (libstdc++, libgcc_eh)
# after ours, so winpthread, which they need, would come too early: named here after them.
# (Not --whole-archive: winpthread carries a version resource, which would clash with ours.)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -L${SNAPVANE_MINGW_GCC_DIR}")
set(CMAKE_CXX_STANDARD_LIBRARIES "-lstdc++ -lgcc_eh -lpthread")
