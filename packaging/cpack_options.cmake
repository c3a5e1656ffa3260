# Read by cpack for each generator: the Debian packages install under /usr,
# the archives hold one folder that works wherever it is unpacked.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
