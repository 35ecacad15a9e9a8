# Debian packages: `cmake --build build --target package` writes
# wavix_<version>_<arch>.deb and wavix-sim_<version>_<arch>.deb into the
# build folder. Dependencies on shared libraries are read from the binaries
# (dpkg-shlibdeps, Debian package dpkg-dev).
set(WAVIX_PACKAGE_MAINTAINER "Wavix II developers <wavix@localhost>" CACHE STRING
    "The Maintainer field of the Debian packages")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wavix)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Wavix II")
set(CPACK_PACKAGE_CONTACT ${WAVIX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Built remotes are copies of the Remote program: stripped, they are a tenth
# of the size.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL main sim)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_MAIN_PACKAGE_NAME wavix)
# Liberation Sans stands in for Arial; WenQuanYi for the Chinese texts.
set(CPACK_DEBIAN_MAIN_PACKAGE_DEPENDS "fonts-liberation")
set(CPACK_DEBIAN_MAIN_PACKAGE_RECOMMENDS "fonts-wqy-microhei, xdg-utils")
set(CPACK_DEBIAN_MAIN_PACKAGE_SUGGESTS "wavix-sim")
set(CPACK_DEBIAN_MAIN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/resources/package/postinst)
set(CPACK_COMPONENT_MAIN_DESCRIPTION
    "IR logic analyzer and remote-control designer for the Wavix II USB device
wavix captures the pulse trains of infrared remote controls on four
channels, draws and measures them, recognises NEC, NEC1-X2, Haier,
Quendar-A, HITACHI, Sony SIRC and Philips RC-5, sends codes back out and
keeps them in a code library. wavix-cli does the same for files in a
terminal and converts codes to and from Pronto Hex, LIRC, Flipper Zero,
IRremote and CSV. Remote designs a remote control, learns its keys from a
real one and builds it into a standalone program.")

set(CPACK_DEBIAN_SIM_PACKAGE_NAME wavix-sim)
set(CPACK_DEBIAN_SIM_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_SIM_PACKAGE_SUGGESTS "wavix")
set(CPACK_COMPONENT_SIM_DESCRIPTION
    "simulated Wavix II device, to try the programs without the hardware
wavix-sim hosts one simulated Wavix II IR device (USB 16c0:1012) that the
unchanged programs reach through a preloaded libusb-0.1, and presses keys
of sample remotes in every protocol the analyzer recognises, plays capture
files, plugs and unplugs the device, injects faults and shows what the
programs sent.")

include(CPack)
