# The test that makes the Debian package from this build and checks it with
# lintian, dpkg -c and appstreamcli (tests/packaging/check_debian_package.sh).
# It reuses the build's programs, manual and manual pages, so it costs the
# packing and lintian's run, not another build.
enable_testing()
add_test(NAME packaging.debian_package
  COMMAND ${CMAKE_SOURCE_DIR}/tests/packaging/check_debian_package.sh ${CMAKE_BINARY_DIR})
# lintian reads the whole package; on a busy machine that takes minutes.
set_tests_properties(packaging.debian_package PROPERTIES TIMEOUT 900)
