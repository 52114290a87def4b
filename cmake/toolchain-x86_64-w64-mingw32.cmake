# Cross build for 64-bit Windows with Debian's mingw-w64 (x86_64), static runtime: the same
# sources as the shipped 32-bit exe. The tests run this build where the machine cannot execute
# 32-bit code (then wine's 32-bit loader fails with "Exec format error").
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
# ctest runs the test executables through wine (the test script provides DISPLAY and WINEPREFIX).
find_program(WINE_EXECUTABLE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(WINE_EXECUTABLE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_EXECUTABLE})
endif()
