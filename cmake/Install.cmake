# `cmake --install` lays the programs out as a Debian system has them, and
# `cpack -G DEB` packs that layout:
#   bin/                    qrhost, Karvel_Prefs
#   lib/                    libqrplatform.so
#   lib/quarrion/PlugIns/   Karvel.so, Brask_Export.so (qrhost looks there)
#   share/applications/     the desktop entry of Karvel_Prefs, with its icons
#   share/thumbnailers/     karvel.thumbnailer: LWO and DXF thumbnails in file
#                           managers, drawn by qrhost render --size
#   share/doc/karvel/       the README and the manual (docs/)
# Installed binaries find libqrplatform.so through their RPATH, relative to
# where they lie, so any prefix works.
set_target_properties(qrhost PROPERTIES INSTALL_RPATH "$ORIGIN/../lib")
set_target_properties(Karvel Brask_Export PROPERTIES INSTALL_RPATH "$ORIGIN/../..")
install(TARGETS qrhost RUNTIME DESTINATION bin)
install(TARGETS qr_platform LIBRARY DESTINATION lib)
install(TARGETS Karvel Brask_Export LIBRARY DESTINATION ${QR_INSTALL_PLUGIN_DIR})
if(QR_PREFS)
  set_target_properties(Karvel_Prefs PROPERTIES INSTALL_RPATH "$ORIGIN/../lib")
endif()
# The thumbnailer entry names qrhost by its installed path, known only when
# installing (cmake --install --prefix, or CPack's /usr), so it is written then.
install(CODE "
  set(qr_thumbnailer \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/thumbnailers/karvel.thumbnailer\")
  message(STATUS \"Installing: \${qr_thumbnailer}\")
  file(WRITE \"\${qr_thumbnailer}\" \"[Thumbnailer Entry]
TryExec=\${CMAKE_INSTALL_PREFIX}/bin/qrhost
Exec=\${CMAKE_INSTALL_PREFIX}/bin/qrhost render %i -o %o --size %s
MimeType=image/x-lwo;image/vnd.dxf;
\")")
install(FILES README.md DESTINATION share/doc/karvel)
# The manual the README links to, beside it as in the source tree.
install(FILES docs/examples.png docs/import_export.md docs/qrhost.md docs/installing.md
              docs/windows.md docs/benchmarks.md docs/fuzzing.md
        DESTINATION share/doc/karvel/docs)

set(CPACK_PACKAGE_NAME karvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brask Design")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Object import and DXF export plug-ins for Quarrion, their settings program and qrhost")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Brask Design <plugins@brask.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# dpkg-shlibdeps computes Depends from the libraries the binaries link; our
# own libqrplatform.so it finds in the package through the binaries' RPATH.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_GENERATOR DEB)
include(CPack)
