# What `cmake --install` puts under the prefix:
#   bin/launcher                      the start program
#   lib/solvane/                      the card's folder: solvanewin, solvane.cfg, data/, fonts/
#   include/glimmer/...               the engine's headers, for #include <glimmer/glimmer.h>
#   lib/libglimmer.a                  the engine
#   lib/cmake/Glimmer/                the CMake package (find_package(Glimmer))
#   lib/pkgconfig/glimmer.pc          the same for pkg-config (pkg-config glimmer)
#   share/applications/solvane.desktop and share/icons/hicolor/*/apps/solvane.png
# Everything sits below lib/ whatever the platform's multiarch folder: the
# launcher finds the card at ../lib/solvane beside itself.
include(CMakePackageConfigHelpers)

set(GLIMMER_PACKAGE_DIR lib/cmake/Glimmer)

install(TARGETS glimmer EXPORT GlimmerTargets ARCHIVE DESTINATION lib)
# Headers named *Internal.h are the engine's own, not its interface.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/glimmer/
  DESTINATION include/glimmer
  FILES_MATCHING PATTERN "*.h" PATTERN "*Internal.h" EXCLUDE)

# A sanitized engine needs the sanitizer runtimes in every program linking it.
if(GLIMMER_SANITIZE)
  target_link_options(glimmer INTERFACE $<INSTALL_INTERFACE:-fsanitize=address,undefined>)
endif()

install(EXPORT GlimmerTargets
  NAMESPACE Glimmer::
  DESTINATION ${GLIMMER_PACKAGE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/GlimmerConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/GlimmerConfig.cmake
  INSTALL_DESTINATION ${GLIMMER_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/GlimmerConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMajorVersion)
install(FILES
  ${PROJECT_BINARY_DIR}/package/GlimmerConfig.cmake
  ${PROJECT_BINARY_DIR}/package/GlimmerConfigVersion.cmake
  DESTINATION ${GLIMMER_PACKAGE_DIR})

# The pkg-config file beside the CMake package, for builds without CMake.
set(GLIMMER_PC_OUT ${PROJECT_BINARY_DIR}/package/glimmer.pc)
set(GLIMMER_PC_EXTRA "")
if(GLIMMER_SANITIZE)
  set(GLIMMER_PC_EXTRA " -fsanitize=address,undefined")
endif()
install(CODE "
  include(\"${CMAKE_CURRENT_LIST_DIR}/PkgConfigFile.cmake\")
  glimmer_write_pkg_config(\"${CMAKE_CURRENT_LIST_DIR}/glimmer.pc.in\" \"${GLIMMER_PC_OUT}\"
    lib ${PROJECT_VERSION} \"${GLIMMER_PC_EXTRA}\")")
install(FILES ${GLIMMER_PC_OUT} DESTINATION lib/pkgconfig)

if(TARGET launcher)
  install(TARGETS launcher RUNTIME DESTINATION bin)
endif()

# The card's folder is assembled in the build tree (target solvane_folder);
# its data and fonts are installed from there, the program itself as a target.
if(TARGET solvanewin)
  set(GLIMMER_CARD_FOLDER ${PROJECT_BINARY_DIR}/solvane)
  install(TARGETS solvanewin RUNTIME DESTINATION lib/solvane)
  install(FILES ${GLIMMER_CARD_FOLDER}/solvane.cfg DESTINATION lib/solvane)
  install(DIRECTORY ${GLIMMER_CARD_FOLDER}/data ${GLIMMER_CARD_FOLDER}/fonts
    DESTINATION lib/solvane)
endif()

if(TARGET solvane-icons)
  install(DIRECTORY ${GLIMMER_ICON_DIR}/ DESTINATION share/icons/hicolor)
endif()

if(TARGET launcher)
  set(GLIMMER_DESKTOP_OUT ${PROJECT_BINARY_DIR}/package/solvane.desktop)
  install(CODE "
    include(\"${CMAKE_CURRENT_LIST_DIR}/DesktopEntry.cmake\")
    glimmer_write_desktop_entry(\"${CMAKE_CURRENT_LIST_DIR}/solvane.desktop.in\" \"${GLIMMER_DESKTOP_OUT}\")")
  install(FILES ${GLIMMER_DESKTOP_OUT} DESTINATION share/applications)
endif()

# `make package`: one Debian package with the card, the launcher and the
# engine for other programs, installed below /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME solvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Solvane")
set(CPACK_PACKAGE_CONTACT "Solvane developers <solvane@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Animated New-Year greeting card and the Glimmer 2D engine")
set(CPACK_PACKAGE_DESCRIPTION
  "An animated New-Year greeting card with falling snow, a clock and a countdown, its launcher, and the Glimmer engine (headers, static library and CMake package) for programs of your own.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SUGGESTS
  "pkg-config, libsdl1.2-compat-dev | libsdl1.2-dev, libsdl-ttf2.0-dev, libsdl-image1.2-dev, libsdl-gfx1.2-dev")
set(CPACK_STRIP_FILES OFF)
include(CPack)
