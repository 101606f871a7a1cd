# The Windows packages (included by platform/win32/win32.cmake): `cpack` in a mingw build
# folder makes an NSIS installer (our own template, cmake/nsis/NSIS.template.in: a per-user
# installation without administrator rights) and a portable .zip.
#
#   cmake --build build/mingw64 && (cd build/mingw64 && cpack)
#
# Components: "program" (MivoRun.exe, lang.ini, setup.ini), "standins" (the virtual handset
# and the simulated client with their demo world and mivorun-remote.exe). The 64-bit package
# always holds the stand-ins (the maker's libraries are 32-bit and cannot serve it); in the
# 32-bit one they are an optional component.
install(TARGETS MivoRun RUNTIME DESTINATION . COMPONENT program)
install(FILES ${PROJECT_SOURCE_DIR}/res/lang.ini ${PROJECT_SOURCE_DIR}/res/setup.ini
        DESTINATION . COMPONENT program)
install(TARGETS mivo_usbphone mivo_callbridge RUNTIME DESTINATION . COMPONENT standins)
install(FILES ${PROJECT_SOURCE_DIR}/res/demo_world.scn DESTINATION . RENAME world.scn
        COMPONENT standins)
if(TARGET mivorun-remote)
  install(TARGETS mivorun-remote RUNTIME DESTINATION . COMPONENT standins)
endif()

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(MIVO_PACKAGE_ARCH win64)
  set(MIVO_NSIS_TARGET amd64-unicode)
  set(MIVO_NSIS_STANDINS_FLAGS "")
  set(MIVO_NSIS_STANDINS_IN "SectionIn RO")
else()
  set(MIVO_PACKAGE_ARCH win32)
  set(MIVO_NSIS_TARGET x86-unicode)
  set(MIVO_NSIS_STANDINS_FLAGS "/o")
  set(MIVO_NSIS_STANDINS_IN "")
endif()

# cpack packs what the build made; it does not build everything first (tests, benchmarks).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY TRUE)
set(CPACK_PACKAGE_NAME MivoRun)
set(CPACK_PACKAGE_VENDOR MivoRun)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Controller of the Tr520 USB Internet Speakerphone")
set(CPACK_PACKAGE_FILE_NAME MivoRun-${PROJECT_VERSION}-${MIVO_PACKAGE_ARCH})
set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_COMPONENTS_ALL program standins)
# The installer sees the components apart; the .zip holds them all in one folder.
set(CPACK_NSIS_COMPONENT_INSTALL ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
# Our template is found first on the module path.
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/nsis)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/mivorun_cpack_options.cmake)
file(WRITE ${CMAKE_BINARY_DIR}/mivorun_cpack_options.cmake
  "set(MIVO_NSIS_TARGET \"${MIVO_NSIS_TARGET}\")\n"
  "set(MIVO_NSIS_STANDINS_FLAGS \"${MIVO_NSIS_STANDINS_FLAGS}\")\n"
  "set(MIVO_NSIS_STANDINS_IN \"${MIVO_NSIS_STANDINS_IN}\")\n"
  "set(MIVO_VERSION \"${PROJECT_VERSION}\")\n")
include(CPack)
