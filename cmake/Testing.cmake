option(HORAVEL_BUILD_TESTS "Build the unit tests" ON)
if(NOT HORAVEL_BUILD_TESTS)
  return()
endif()
enable_testing()

if(CMAKE_CROSSCOMPILING)
  # Debian's googletest package ships the sources: build them with the cross compiler.
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# Test data: on Windows builds the tests run under Wine, which sees the Linux
# file system as drive Z:.
if(WIN32)
  set(HORAVEL_TEST_DATA_DIR "Z:${CMAKE_SOURCE_DIR}/tests/data")
  set(HORAVEL_TEST_ASSET_DIR "Z:${CMAKE_SOURCE_DIR}/assets")
else()
  set(HORAVEL_TEST_DATA_DIR "${CMAKE_SOURCE_DIR}/tests/data")
  set(HORAVEL_TEST_ASSET_DIR "${CMAKE_SOURCE_DIR}/assets")
endif()

# One test program per subsystem, made of every test source in its folder.
function(horavel_test_suite name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    HORAVEL_TEST_DATA_DIR="${HORAVEL_TEST_DATA_DIR}"
    HORAVEL_TEST_ASSET_DIR="${HORAVEL_TEST_ASSET_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)
endfunction()
