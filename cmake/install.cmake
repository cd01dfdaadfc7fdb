# Installation layout and packages.
#
# zus and io.zux stay side by side in one folder, because zus finds its
# modules (and zus.ini) beside the executable itself. On Linux that folder is
# lib/zus with a bin/zus link to the program, plus the man page, the module
# authors' header and its pkg-config file; CPack makes a .deb of it. On
# Windows the folder is the package itself: a .zip of zus.exe and io.zux.
include(GNUInstallDirs)

if(WIN32)
  set(ZU_INSTALL_PROGRAM_DIR .)
else()
  set(ZU_INSTALL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/zus)
endif()

install(TARGETS zus RUNTIME DESTINATION ${ZU_INSTALL_PROGRAM_DIR})
install(TARGETS io LIBRARY DESTINATION ${ZU_INSTALL_PROGRAM_DIR})

if(NOT WIN32)
  # bin/zus -> ../lib/zus/zus: a relative link, so the tree can be moved (or
  # unpacked into a scratch root) and still work.
  file(RELATIVE_PATH _zu_link_target /${CMAKE_INSTALL_BINDIR} /${ZU_INSTALL_PROGRAM_DIR}/zus)
  install(CODE "
    set(_bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${_bin}\")
    message(STATUS \"Installing: \${_bin}/zus -> ${_zu_link_target}\")
    file(CREATE_LINK \"${_zu_link_target}\" \"\${_bin}/zus\" SYMBOLIC)")

  install(FILES ${PROJECT_SOURCE_DIR}/docs/zus.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_SOURCE_DIR}/docs/language.md ${PROJECT_SOURCE_DIR}/docs/modules.md
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/zuscript)

  # For module authors: the header and a pkg-config file that finds it
  # relative to its own place, so it stays right wherever the tree is put.
  install(FILES ${PROJECT_SOURCE_DIR}/include/zuscriptx.h
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
  set(_zu_pc_dir ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
  file(RELATIVE_PATH ZU_PC_TO_PREFIX /${_zu_pc_dir} /)
  string(REGEX REPLACE "/$" "" ZU_PC_TO_PREFIX "${ZU_PC_TO_PREFIX}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/zuscriptx.pc.in ${PROJECT_BINARY_DIR}/zuscriptx.pc
                 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/zuscriptx.pc DESTINATION ${_zu_pc_dir})
endif()

# Packages: cpack in the build folder.
set(CPACK_PACKAGE_NAME zuscript)
set(CPACK_PACKAGE_VENDOR "ZuScript")
set(CPACK_PACKAGE_CONTACT "ZuScript developers <zuscript@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "ZuScript is a small interpreted scripting language for the console. It comes as\n"
    "the interpreter zus and the extension module io.zux (files, directories and\n"
    "keyboard). This package also holds the header and pkg-config file for\n"
    "writing extension modules.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION interpreters)
  # dpkg-shlibdeps (package dpkg-dev) works out the library dependencies;
  # without it the package names the ones it needs.
  find_program(ZU_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(ZU_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  elseif(ZU_STATIC_RUNTIME)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6")  # the C++ runtime is linked in
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6")
  endif()
endif()
include(CPack)
