# Where a desktop expects each file of Tallyfold, and the Debian package made of them.
include(GNUInstallDirs)

set(TALLYFOLD_ID org.tallyfold.Tallyfold)
set(TALLYFOLD_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/tallyfold)
install(TARGETS tallyfold RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/${TALLYFOLD_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES packaging/${TALLYFOLD_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES packaging/tallyfold-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME tallyfold.xml)
# The manual page and the changelog are installed compressed, as Debian expects them; gzip -n
# keeps the files the same from build to build.
find_program(TALLYFOLD_GZIP gzip REQUIRED)
foreach(compressed tallyfold.1 changelog)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${compressed}.gz
                     COMMAND ${TALLYFOLD_GZIP} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/${compressed}
                             > ${CMAKE_BINARY_DIR}/${compressed}.gz
                     DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${compressed} VERBATIM)
endforeach()
add_custom_target(tallyfold_compressed_docs
                  DEPENDS ${CMAKE_BINARY_DIR}/tallyfold.1.gz ${CMAKE_BINARY_DIR}/changelog.gz)
# Whatever builds the program builds what installing it needs.
add_dependencies(tallyfold tallyfold_compressed_docs)
install(FILES ${CMAKE_BINARY_DIR}/tallyfold.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/icons/${TALLYFOLD_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The vocabulary files show the program's icon in file managers.
install(FILES packaging/icons/${TALLYFOLD_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-tallyfold-vocabulary.svg)
foreach(size 16 24 32 48 64 128 256)
  install(FILES packaging/icons/${TALLYFOLD_ID}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${TALLYFOLD_ID}.png)
  install(FILES packaging/icons/${TALLYFOLD_ID}-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/mimetypes
          RENAME application-x-tallyfold-vocabulary.png)
endforeach()
# The help pages are compiled into the program; the same pages for reading without it.
install(DIRECTORY resources/help/ DESTINATION ${TALLYFOLD_DOCDIR}/help
        FILES_MATCHING PATTERN "*.html")
install(FILES examples/sample.vok examples/sample.kas DESTINATION ${TALLYFOLD_DOCDIR}/examples)
install(FILES README.md DESTINATION ${TALLYFOLD_DOCDIR})
# The licence, in Debian's machine-readable form where a package's users look for it.
install(FILES packaging/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${TALLYFOLD_DOCDIR})
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME tallyfold)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallyfold)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tallyfold developers <maintainers@tallyfold.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vocabulary trainer with the card-box method")
set(CPACK_PACKAGE_DESCRIPTION "Tallyfold keeps flash cards in a box of seven partitions and
an input stack and asks them by the card-box method: a card that is known moves
up one partition, one that is not goes back. Cards are kept in dBASE tables and
can be imported from and exported to text files.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
