# What `cmake --install` puts under the prefix, in two components that
# `make package` turns into two Debian packages:
# libglimmer-dev (component dev, the default for every rule without one):
#   include/glimmer/...               the engine's headers, for #include <glimmer/glimmer.h>
#   lib/libglimmer.a                  the engine
#   lib/cmake/Glimmer/                the CMake package (find_package(Glimmer))
#   lib/pkgconfig/glimmer.pc          the same for pkg-config (pkg-config glimmer)
# solvane (component solvane):
#   games/solvane                     the start command (the launcher)
#   games/solvane-screensaver         the card in a window XScreenSaver names
#   lib/solvane/                      the card's folder: solvanewin, launcher, solvane.cfg,
#                                     data/, fonts/ (links to the DejaVu fonts),
#                                     locale/ (links to the catalogs)
#   share/locale/*/LC_MESSAGES/solvane.mo  the catalogs of the card's texts
#   share/applications/solvane.desktop, share/icons/hicolor/*/apps/solvane.png,
#   share/metainfo/, share/man/man6/
# and each component's share/doc/<package>/copyright and changelog.Debian.gz.
# Everything sits below lib/ whatever the platform's multiarch folder: the
# start command finds the card at ../lib/solvane beside itself.
set(CMAKE_INSTALL_DEFAULT_COMPONENT_NAME dev)
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

# The card's folder is assembled in the build tree (target solvane_folder);
# its data is installed from there, the programs as targets. The fonts are
# links to the system's DejaVu files, relative so that they hold inside a
# package's tree as well as under any prefix.
if(TARGET solvanewin AND TARGET launcher)
  set(GLIMMER_CARD_FOLDER ${PROJECT_BINARY_DIR}/solvane)
  install(TARGETS solvane solvane-screensaver RUNTIME DESTINATION games COMPONENT solvane)
  install(TARGETS solvanewin launcher RUNTIME DESTINATION lib/solvane COMPONENT solvane)
  install(FILES ${GLIMMER_CARD_FOLDER}/solvane.cfg DESTINATION lib/solvane COMPONENT solvane)
  install(DIRECTORY ${GLIMMER_CARD_FOLDER}/data DESTINATION lib/solvane COMPONENT solvane)
  install(CODE "
    set(fonts \"\${CMAKE_INSTALL_PREFIX}/lib/solvane/fonts\")
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${fonts}\")
    foreach(font DejaVuSerif.ttf DejaVuSansMono.ttf)
      file(RELATIVE_PATH target \"\${fonts}\" \"/usr/share/fonts/truetype/dejavu/\${font}\")
      file(CREATE_LINK \"\${target}\" \"\$ENV{DESTDIR}\${fonts}/\${font}\" SYMBOLIC)
    endforeach()" COMPONENT solvane)
  # The catalogs go where the system keeps every program's, and the card's
  # folder links to them as it does to the fonts.
  install(DIRECTORY ${GLIMMER_CARD_FOLDER}/locale/ DESTINATION share/locale COMPONENT solvane)
  install(CODE "
    foreach(language ${CARD_LANGUAGES})
      set(folder \"\${CMAKE_INSTALL_PREFIX}/lib/solvane/locale/\${language}/LC_MESSAGES\")
      file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${folder}\")
      file(RELATIVE_PATH target \"\${folder}\" \"\${CMAKE_INSTALL_PREFIX}/share/locale/\${language}/LC_MESSAGES/solvane.mo\")
      file(CREATE_LINK \"\${target}\" \"\$ENV{DESTDIR}\${folder}/solvane.mo\" SYMBOLIC)
    endforeach()" COMPONENT solvane)

  set(GLIMMER_DESKTOP_OUT ${PROJECT_BINARY_DIR}/package/solvane.desktop)
  install(CODE "
    include(\"${CMAKE_CURRENT_LIST_DIR}/DesktopEntry.cmake\")
    glimmer_write_desktop_entry(\"${CMAKE_CURRENT_LIST_DIR}/solvane.desktop.in\" \"${GLIMMER_DESKTOP_OUT}\")"
    COMPONENT solvane)
  install(FILES ${GLIMMER_DESKTOP_OUT} DESTINATION share/applications COMPONENT solvane)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/org.solvane.solvane.metainfo.xml
    DESTINATION share/metainfo COMPONENT solvane)
  if(TARGET solvane-icons)
    install(DIRECTORY ${GLIMMER_ICON_DIR}/ DESTINATION share/icons/hicolor COMPONENT solvane)
  endif()
endif()

# Manual pages and the changelog are compressed as Debian wants them: gzip -9
# without a name or time stamp, so that every build gives the same bytes.
set(GLIMMER_DOC_OUT ${PROJECT_BINARY_DIR}/package)
set(GLIMMER_DOC_FILES)
foreach(source solvane.6 solvane-screensaver.6 changelog)
  add_custom_command(
    OUTPUT ${GLIMMER_DOC_OUT}/${source}.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/packaging/${source} > ${GLIMMER_DOC_OUT}/${source}.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${source})
  list(APPEND GLIMMER_DOC_FILES ${GLIMMER_DOC_OUT}/${source}.gz)
endforeach()
add_custom_target(solvane-docs ALL DEPENDS ${GLIMMER_DOC_FILES})
if(TARGET solvane)
  install(FILES ${GLIMMER_DOC_OUT}/solvane.6.gz ${GLIMMER_DOC_OUT}/solvane-screensaver.6.gz
    DESTINATION share/man/man6 COMPONENT solvane)
endif()

# The licence as a machine-readable copyright file: the text of LICENSE after
# its copyright line, indented, with "." for blank lines.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE GLIMMER_LICENSE_LINES)
list(POP_FRONT GLIMMER_LICENSE_LINES GLIMMER_COPYRIGHT_LINE)
string(REGEX REPLACE "^Copyright \\(c\\) " "" GLIMMER_COPYRIGHT "${GLIMMER_COPYRIGHT_LINE}")
list(POP_FRONT GLIMMER_LICENSE_LINES)
set(GLIMMER_LICENSE_TEXT "")
foreach(line IN LISTS GLIMMER_LICENSE_LINES)
  if(line STREQUAL "")
    set(line ".")
  endif()
  string(APPEND GLIMMER_LICENSE_TEXT " ${line}\n")
endforeach()
file(WRITE ${GLIMMER_DOC_OUT}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Solvane
Upstream-Contact: The Solvane developers <developers@solvane.org>

Files: *
Copyright: ${GLIMMER_COPYRIGHT}
License: Zlib
${GLIMMER_LICENSE_TEXT}")

set(GLIMMER_COMPONENTS solvane dev)
set(GLIMMER_PACKAGES solvane libglimmer-dev)
foreach(component package IN ZIP_LISTS GLIMMER_COMPONENTS GLIMMER_PACKAGES)
  install(FILES ${GLIMMER_DOC_OUT}/copyright DESTINATION share/doc/${package} COMPONENT ${component})
  install(FILES ${GLIMMER_DOC_OUT}/changelog.gz DESTINATION share/doc/${package}
    RENAME changelog.Debian.gz COMPONENT ${component})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/${package}.lintian-overrides DESTINATION share/lintian/overrides
    RENAME ${package} COMPONENT ${component})
endforeach()

# `make package`: one Debian package per component, installed below /usr.
# The files are installed with DESTDIR, so that the desktop entry and the
# font links see the final prefix.
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL solvane dev)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_NAME solvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Solvane developers")
set(CPACK_PACKAGE_CONTACT "The Solvane developers <developers@solvane.org>")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SOURCE solvane)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://solvane.org/)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

set(CPACK_DEBIAN_SOLVANE_PACKAGE_NAME solvane)
set(CPACK_DEBIAN_SOLVANE_PACKAGE_SECTION games)
set(CPACK_DEBIAN_SOLVANE_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_SOLVANE_PACKAGE_DEPENDS fonts-dejavu-core)
set(CPACK_COMPONENT_SOLVANE_DESCRIPTION "animated New-Year greeting card with falling snow
Snow falls over a winter landscape under the moon while a clock shows the
time and the time left until the New Year, and lines of greeting pass by.
The card runs in a window of its own, started with the command solvane, or
as a screensaver inside the window that XScreenSaver gives it.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libglimmer-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS
  "libsdl1.2-compat-dev | libsdl1.2-dev, libsdl-ttf2.0-dev, libsdl-image1.2-dev, libsdl-gfx1.2-dev")
set(CPACK_DEBIAN_DEV_PACKAGE_SUGGESTS "cmake, pkg-config")
set(CPACK_COMPONENT_DEV_DESCRIPTION "Glimmer 2D engine on SDL 1.2 (development files)
Glimmer draws sprites, texts, buttons and windows in layers over SDL 1.2 and
keeps them in a registry of numbered objects. This package holds its
headers, the static library and the CMake package for programs of your own.")
include(CPack)
