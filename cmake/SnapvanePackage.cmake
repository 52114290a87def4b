# The release: `cmake --build --preset win32 --target package` zips what the install rules
# name (Snapvane.exe, README.txt, LICENSE.txt and nothing else) into
# Snapvane-<version>-win32.zip in the build folder, all under one folder of the same name.
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Snapvane)
set(CPACK_PACKAGE_VENDOR Tolvard)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
set(CPACK_PACKAGE_FILE_NAME ${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES OFF)  # the exe goes in as built, byte for byte
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${CMAKE_SOURCE_DIR}/README.md)
set(CPACK_VERBATIM_VARIABLES ON)

# The texts beside the exe, named so that Windows opens them with a double click.
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION . RENAME README.txt)
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

include(CPack)
