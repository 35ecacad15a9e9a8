# `cmake --install` and the Debian packages: where every file of an installed
# copy goes. Two components, one package each: "main" (the programs, their
# shared files and the desktop integration) and "sim" (the simulated device).
#
#   <prefix>/bin                              wavix, wavix-cli, Remote; wavix-sim
#   <prefix>/share/wavix                      the user guides; firmware/ for images shipped later
#   <prefix>/lib/udev/rules.d/70-wavix.rules  the device for the logged-in user
#   <prefix>/share/applications, icons, metainfo, man/man1
#   <prefix>/lib/<triplet>/wavix/libwavix-simusb.so  the preload libusb-0.1, off the public path
#
# The programs tell an installed copy by <prefix>/share/wavix beside their
# folder and keep the user's files in ~/.config/wavix (analyzer/core/DataFolder.h).
include(GNUInstallDirs)

find_program(WAVIX_RSVG_CONVERT rsvg-convert)
if(NOT WAVIX_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert is missing (Debian package librsvg2-bin): run scripts/install-deps.sh")
endif()
find_program(WAVIX_GZIP gzip REQUIRED)

set(WAVIX_SHARED_DIR ${CMAKE_INSTALL_DATADIR}/wavix)
# The multiarch folder whatever the prefix (GNUInstallDirs only uses it for /usr).
if(CMAKE_LIBRARY_ARCHITECTURE)
  set(WAVIX_PRIVATE_LIB_DIR lib/${CMAKE_LIBRARY_ARCHITECTURE}/wavix)
else()
  set(WAVIX_PRIVATE_LIB_DIR ${CMAKE_INSTALL_LIBDIR}/wavix)
endif()
set(WAVIX_RELEASE_DATE 2026-12-08)
set(resources ${PROJECT_SOURCE_DIR}/resources)
set(staged ${CMAKE_BINARY_DIR}/install-files)

# Icons: one drawing per program, the PNG sizes rendered from it.
set(icon_files)
foreach(icon wavix wavix-remote)
  foreach(size 48 128 256)
    set(png ${staged}/icons/${size}x${size}/${icon}.png)
    add_custom_command(
      OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${staged}/icons/${size}x${size}
      COMMAND ${WAVIX_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${resources}/icons/${icon}.svg
      DEPENDS ${resources}/icons/${icon}.svg
      COMMENT "Rendering the ${size}px icon ${icon}")
    list(APPEND icon_files ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps COMPONENT main)
  endforeach()
  install(FILES ${resources}/icons/${icon}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          COMPONENT main)
endforeach()

# Man pages, compressed as Debian ships them.
set(man_files)
foreach(page wavix-cli wavix-sim)
  set(gz ${staged}/man/${page}.1.gz)
  add_custom_command(
    OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${staged}/man
    COMMAND ${WAVIX_GZIP} -9n -c ${resources}/man/${page}.1 > ${gz}
    DEPENDS ${resources}/man/${page}.1
    COMMENT "Compressing the man page ${page}(1)")
  list(APPEND man_files ${gz})
endforeach()
add_custom_target(wavix_install_files ALL DEPENDS ${icon_files} ${man_files})

foreach(id io.github.wavix.Wavix io.github.wavix.Remote)
  configure_file(${resources}/metainfo/${id}.metainfo.xml.in ${staged}/metainfo/${id}.metainfo.xml @ONLY)
  install(FILES ${staged}/metainfo/${id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT main)
endforeach()

# The main package.
install(TARGETS wavix wavix-cli Remote RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT main)
install(FILES ${resources}/guide/wavix-guide.html ${resources}/guide/remote-guide.html
              ${resources}/guide/remote-design-mode.png ${resources}/guide/remote-play-mode.png
              ${resources}/guide/remote-hovered-key.png
        DESTINATION ${WAVIX_SHARED_DIR} COMPONENT main)
install(DIRECTORY DESTINATION ${WAVIX_SHARED_DIR}/firmware COMPONENT main)
# udev reads lib/udev/rules.d under the prefix, never the multiarch libdir.
install(FILES ${WAVIX_PROGRAM_DIR}/70-wavix.rules DESTINATION lib/udev/rules.d COMPONENT main)
install(FILES ${resources}/desktop/wavix.desktop ${resources}/desktop/wavix-remote.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT main)
install(FILES ${staged}/man/wavix-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT main)

# The simulated device's package.
install(TARGETS wavix-sim RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT sim)
# Loaded with LD_PRELOAD by path, so it stays off the linker's search path;
# a shared library is not a program (0644).
install(TARGETS wavix-simusb LIBRARY DESTINATION ${WAVIX_PRIVATE_LIB_DIR} COMPONENT sim
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(FILES ${staged}/man/wavix-sim.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT sim)
