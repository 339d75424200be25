# Install rules and packages: a Debian package from the native build, a .zip of
# the Windows build. `cmake --workflow --preset package` makes both.
include(GNUInstallDirs)

# The programs, on every host.
set(CDVERIFY_PROGRAMS cdverify cdcoverage cdarchive)

set(CPACK_PACKAGE_NAME cdverify)
set(CPACK_PACKAGE_VENDOR "cdverify developers")
set(CPACK_PACKAGE_CONTACT "cdverify developers <cdverify@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "verify the disks of a recorded-data archive")
# The extended description in lines Debian's tools show whole (under 80 characters).
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "cdverify walks one disk of a field recording station's archive and checks"
  "every data file: readable to its end, station values unchanged from file to"
  "file, channel counts, record counts and clock start times; it writes warnings"
  "and errors into log files and reports the time the data cover. cdcoverage"
  "summarises the gaps, overlaps and coverage of one disk or a whole archive, as"
  "text, JSON, CSV and an SVG timeline. cdarchive keeps a catalogue of every"
  "disk and file, to find the disk that holds a station's hour.")
set(CPACK_STRIP_FILES ON)

# manual_files(TARGET SUFFIX COMMAND): makes a file NAME.SUFFIX in the build's
# manuals/ from each manual page with the shell command, where {in} and {out}
# stand for the page and the file; TARGET builds them all, and the variable
# TARGET_files lists them.
function(manual_files target suffix shell_command)
  set(outputs)
  foreach(page ${CDVERIFY_PROGRAMS})
    set(in ${CMAKE_SOURCE_DIR}/docs/${page}.1)
    set(out ${CMAKE_BINARY_DIR}/manuals/${page}${suffix})
    string(REPLACE "{in}" "'${in}'" command "${shell_command}")
    string(REPLACE "{out}" "'${out}'" command "${command}")
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/manuals
      COMMAND sh -c "${command}"
      DEPENDS ${in} VERBATIM)
    list(APPEND outputs ${out})
  endforeach()
  add_custom_target(${target} ALL DEPENDS ${outputs})
  set(${target}_files ${outputs} PARENT_SCOPE)
endfunction()

if(WIN32)
  # A flat folder: the executables, their manuals as text, the README.
  install(TARGETS ${CDVERIFY_PROGRAMS} RUNTIME DESTINATION .)
  find_program(CDVERIFY_GROFF groff REQUIRED)
  manual_files(text_manuals .txt "${CDVERIFY_GROFF} -man -Tascii -P-cbou {in} | sed 's/$/\\r/' > {out}")
  # Text documents with CR LF line ends, as Windows editors expect them.
  set(crlf_documents)
  foreach(document README.md LICENSE docs/cdcoverage-summary.schema.json docs/catalog-schema.sql)
    get_filename_component(name ${document} NAME)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${document})
    file(READ ${CMAKE_SOURCE_DIR}/${document} text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${CMAKE_BINARY_DIR}/crlf/${name} "${text}")
    list(APPEND crlf_documents ${CMAKE_BINARY_DIR}/crlf/${name})
  endforeach()
  install(FILES ${text_manuals_files} ${crlf_documents} DESTINATION doc)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(CPACK_SYSTEM_NAME win32)
  else()
    set(CPACK_SYSTEM_NAME win64)
  endif()
else()
  install(TARGETS ${CDVERIFY_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # Without the compilers' banners, as Debian's own packages ship programs.
  install(CODE "
    foreach(program ${CDVERIFY_PROGRAMS})
      execute_process(COMMAND ${CMAKE_OBJCOPY} --remove-section=.comment --remove-section=.note
        \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}
        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()")
  # Manual pages go compressed, as Debian installs them.
  manual_files(man_pages .1.gz "gzip -9n < {in} > {out}")
  install(FILES ${man_pages_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES README.md docs/cdcoverage-summary.schema.json docs/catalog-schema.sql
    packaging/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # The changelog of a native Debian package: changelog.gz beside the copyright.
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND sh -c "gzip -9n < '${CMAKE_SOURCE_DIR}/packaging/changelog' > '${CMAKE_BINARY_DIR}/changelog.gz'"
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/changelog VERBATIM)
  add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
  install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Loaded when a PostgreSQL catalogue or an image is named, so dpkg-shlibdeps
  # cannot see them; the versions it found when they were linked.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libarchive13 (>= 3.2.1), libpq5 (>= 9.0~)")
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
