# Install rules and packages: a Debian package from the native build, a .zip of
# the Windows build. `cmake --workflow --preset package` makes both.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME cdverify)
set(CPACK_PACKAGE_VENDOR "cdverify developers")
set(CPACK_PACKAGE_CONTACT "cdverify developers <cdverify@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "verify the disks of a recorded-data archive")
set(CPACK_PACKAGE_DESCRIPTION
  "cdverify walks one disk of a field recording station's archive and checks every data file: readable to its end, station values unchanged from file to file, channel counts, record counts and clock start times; it writes warnings and errors into log files and reports the time the data cover. cdcoverage summarises the gaps, overlaps and coverage of one disk or a whole archive, as text, JSON, CSV and an SVG timeline.")
set(CPACK_STRIP_FILES ON)

if(WIN32)
  # A flat folder: the executables, their manuals as text, the README.
  install(TARGETS cdverify cdcoverage RUNTIME DESTINATION .)
  find_program(CDVERIFY_GROFF groff REQUIRED)
  set(text_manuals)
  foreach(page cdverify cdcoverage)
    set(text ${CMAKE_BINARY_DIR}/manuals/${page}.txt)
    add_custom_command(OUTPUT ${text}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/manuals
      COMMAND sh -c "${CDVERIFY_GROFF} -man -Tascii -P-cbou '${CMAKE_SOURCE_DIR}/docs/${page}.1' > '${text}'"
      DEPENDS ${CMAKE_SOURCE_DIR}/docs/${page}.1 VERBATIM)
    list(APPEND text_manuals ${text})
  endforeach()
  add_custom_target(text_manuals ALL DEPENDS ${text_manuals})
  install(FILES ${text_manuals} README.md docs/cdcoverage-summary.schema.json DESTINATION doc)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME win32)
  else()
    set(CPACK_SYSTEM_NAME win64)
  endif()
else()
  install(TARGETS cdverify cdcoverage RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Manual pages go compressed, as Debian installs them.
  set(man_pages)
  foreach(page cdverify cdcoverage)
    set(compressed ${CMAKE_BINARY_DIR}/manuals/${page}.1.gz)
    add_custom_command(OUTPUT ${compressed}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/manuals
      COMMAND sh -c "gzip -9n < '${CMAKE_SOURCE_DIR}/docs/${page}.1' > '${compressed}'"
      DEPENDS ${CMAKE_SOURCE_DIR}/docs/${page}.1 VERBATIM)
    list(APPEND man_pages ${compressed})
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md docs/cdcoverage-summary.schema.json DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
endif()

# The package preset of the native build also makes the Windows .zip: a
# workflow takes one configure preset, so this build runs the Windows one.
option(CDVERIFY_PACKAGE_WINDOWS "Also make the 32-bit Windows .zip (package preset)" OFF)
if(CDVERIFY_PACKAGE_WINDOWS AND NOT WIN32)
  add_custom_target(windows_zip ALL
    COMMAND ${CMAKE_COMMAND} --workflow --preset package-windows
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    USES_TERMINAL VERBATIM)
endif()

include(CPack)
