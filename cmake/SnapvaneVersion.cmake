# The version resource's numbers from the project version (project() in CMakeLists.txt, the one
# place the version is written): SnapvaneVersion.h in the build tree, which Snapvane.rc includes.
# FILEVERSION has four numbers; the ones the project version leaves out are 0.
set(_numbers "")
foreach(part MAJOR MINOR PATCH TWEAK)
  set(_n "${PROJECT_VERSION_${part}}")
  if(_n STREQUAL "")
    set(_n 0)
  endif()
  list(APPEND _numbers ${_n})
endforeach()
list(JOIN _numbers "," SNAPVANE_VERSION_NUMBERS)
list(JOIN _numbers "." SNAPVANE_FILE_VERSION)
configure_file(${CMAKE_CURRENT_LIST_DIR}/SnapvaneVersion.h.in
               ${CMAKE_BINARY_DIR}/generated/SnapvaneVersion.h @ONLY)
set(SNAPVANE_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
unset(_numbers)
unset(_n)
