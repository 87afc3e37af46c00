# GoogleTest for the unit and end-to-end tests, as GTest::gtest, gtest_main,
# gmock and gmock_main: an installed package first (its CMake config), else
# Debian's source tree, built here for the target (the only way for a
# cross-compiled tree, whose toolchain finds no host packages).
find_package(GTest CONFIG QUIET)
if(NOT GTest_FOUND)
  set(SAVERHELPER_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source tree")
  if(NOT EXISTS ${SAVERHELPER_GOOGLETEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest not found: install its CMake package or set SAVERHELPER_GOOGLETEST_SOURCE")
  endif()
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(${SAVERHELPER_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(library gtest gtest_main gmock gmock_main)
    if(NOT TARGET GTest::${library})  # recent source trees name them so themselves
      add_library(GTest::${library} ALIAS ${library})
    endif()
  endforeach()
endif()
include(GoogleTest)
