# How Varnello is installed (`cmake --install`) and packaged (`cpack -G DEB`):
#
#   bin/varnello                       the program
#   lib/varnello/varnello-lok          its LibreOffice helper
#   share/varnello/help.html           the user guide
#   share/varnello/defaults/*.txt      the empty state files a user starts with
#   share/applications, share/metainfo, share/icons/hicolor   the desktop's menu data
#   share/man/man1/varnello.1          the window program's manual page
#
# The program tells this layout from a build folder by where its helper is
# (src/platform/ProgramLocations.cpp); the paths below are handed to it.
include(GNUInstallDirs)

set(VARNELLO_APP_ID example.varnello.Varnello)
# The menu entry's name is not the application's id, on purpose. Without a default chosen
# in a mimeapps.list, xdg-mime and GLib open a file with the first entry its folder's
# mimeinfo.cache lists for the type, and update-desktop-database lists them sorted by
# name: "example.varnello.Varnello.desktop" would come before "libreoffice-writer.desktop"
# and make a double click convert a Word document instead of opening it. "varnello"
# sorts after the Writer this package depends on, so Varnello stays in "Open with" only.
set(VARNELLO_DESKTOP_ENTRY varnello.desktop)
set(VARNELLO_HELPER_INSTALL_DIR lib/varnello)
set(VARNELLO_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/varnello)
set(VARNELLO_DATA_SOURCE ${CMAKE_SOURCE_DIR}/data)

# Directories the package creates are world-readable whatever the builder's umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Where the helper and the data are, seen from the installed executable's folder.
file(RELATIVE_PATH helper_from_bin /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VARNELLO_HELPER_INSTALL_DIR})
file(RELATIVE_PATH data_from_bin /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${VARNELLO_DATA_INSTALL_DIR})
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/platform/ProgramLocations.cpp DIRECTORY ${CMAKE_SOURCE_DIR}/src APPEND PROPERTY
  COMPILE_DEFINITIONS VARNELLO_HELPER_FROM_BIN="${helper_from_bin}" VARNELLO_DATA_FROM_BIN="${data_from_bin}")

install(TARGETS varnello RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET varnello-lok)
  # The helper finds LibreOffice's libraries where it found them when it was built.
  get_target_property(helper_rpath varnello-lok BUILD_RPATH)
  set_target_properties(varnello-lok PROPERTIES INSTALL_RPATH "${helper_rpath}")
  install(TARGETS varnello-lok RUNTIME DESTINATION ${VARNELLO_HELPER_INSTALL_DIR})
endif()

install(FILES ${CMAKE_SOURCE_DIR}/src/app/help.html DESTINATION ${VARNELLO_DATA_INSTALL_DIR})
install(FILES ${VARNELLO_DATA_SOURCE}/defaults/set.txt
              ${VARNELLO_DATA_SOURCE}/defaults/EXCEL.txt
              ${VARNELLO_DATA_SOURCE}/defaults/output.txt
        DESTINATION ${VARNELLO_DATA_INSTALL_DIR}/defaults)

install(FILES ${VARNELLO_DATA_SOURCE}/${VARNELLO_DESKTOP_ENTRY}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${VARNELLO_DATA_SOURCE}/${VARNELLO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/docs/varnello.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The icon: the drawing itself, and the usual bitmap sizes made from it.
set(icon_source ${VARNELLO_DATA_SOURCE}/icons/${VARNELLO_APP_ID}.svg)
install(FILES ${icon_source} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_bitmaps)
foreach(size 16 22 24 32 48 64 128 256)
  set(icon_folder ${CMAKE_BINARY_DIR}/icons/${size}x${size})
  set(icon_bitmap ${icon_folder}/${VARNELLO_APP_ID}.png)
  add_custom_command(OUTPUT ${icon_bitmap}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_folder}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${icon_bitmap} ${icon_source}
    DEPENDS ${icon_source}
    VERBATIM)
  list(APPEND icon_bitmaps ${icon_bitmap})
  install(FILES ${icon_bitmap} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(varnello_icons ALL DEPENDS ${icon_bitmaps})

# The Debian package. Its dependencies are the runtime packages of Debian 12: the full
# LibreOffice Writer (the no-GUI core fails on documents with comments or footnotes),
# Qt 6 Widgets with its X11 platform plugin, gmime and gumbo, and the fonts the layout
# is measured in.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnello)
set(CPACK_PACKAGE_VENDOR "The Varnello developers")
set(CPACK_PACKAGE_CONTACT "The Varnello developers <support@varnello.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "converts Word documents into web pages")
set(CPACK_PACKAGE_DESCRIPTION
    "Varnello converts folders of Word documents (.doc, .docx, .docm) into web pages in one
run: web pages with a picture folder, filtered web pages with embedded pictures, or
single-file web archives (MHTML). LibreOffice does the document work in helper processes.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://www.varnello.example/)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6 (>= 2.36), libstdc++6 (>= 12), libgcc-s1, \
libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), \
libgmime-3.0-0 (>= 3.2), libglib2.0-0, libgumbo1 (>= 0.10), zlib1g, \
libreoffice-writer (>= 4:7.4), libreoffice-core (>= 4:7.4), \
libuno-cppu3, libuno-sal3, libuno-cppuhelpergcc3-3, \
fonts-liberation")
include(CPack)
