# The Debian package, built by `cpack -G DEB` (scripts/package.sh): the
# install tree under /usr. Library dependencies come from dpkg-shlibdeps; the
# rest are what the programs load at run time: the GStreamer elements of the
# capture graph (v4l2src, jpegdec in -good; videoconvert, appsrc, decodebin in
# -base) and the Japanese font that stands in for the settings' default face.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "Orvane")
set(CPACK_PACKAGE_CONTACT "Orvane developers <orvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "live-camera measurement viewer for USB microscope cameras")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Orvane shows the live picture of a USB video camera on a microscope or an\n"
    "inspection stand. The picture is frozen, zoomed and panned, and lengths are\n"
    "measured on it in real units through one of 20 calibrations. Results are\n"
    "exported as CSV and kept in results files; pictures are saved as BMP or JPEG.\n"
    "orvane-tool converts results files and pictures from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, fonts-ipafont-gothic")
include(CPack)
