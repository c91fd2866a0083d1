# `make package`: a Debian package of the installed tree (CPack's DEB
# generator). Its Depends come from dpkg-shlibdeps, so they name exactly
# the libraries the two programs link, at the versions they were built
# against.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korr2ld)
set(CPACK_PACKAGE_VENDOR "Korr2LD developers")
set(CPACK_PACKAGE_CONTACT "${K2L_MAINTAINER}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "convert Korrin exports into Lumenda Sample Lists")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The long description; CPack puts the summary before it, indents it and
# marks the empty line as the control file wants.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Korr2LD turns a run exported from the Korrin sample-preparation
application (a tab-delimited text file) into a Sample List for the
Lumenda mass-spectrometry data system: one row per fraction of each
sample line, naming the data file, the MS method, the inlet method and
the macro.

korr2ld is the conversion dialog; korr2ld-cli does the same conversion
without a window and shows what a Sample List holds.")

# A stripped install (the package's) strips as Debian's own packages are
# stripped: the compiler's notes go with the symbols.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(program korr2ld korr2ld-cli)
      set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
      if(EXISTS \"\${file}\")
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment
                                --remove-section=.note \"\${file}\")
      endif()
    endforeach()
  endif()")

include(CPack)
