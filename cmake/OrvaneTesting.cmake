# GoogleTest: the host's for native tests, cross-built from Debian's source for Windows.
if(WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Wine tests share one display and one wineserver, started and stopped by ctest fixtures.
  set(ORVANE_WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
  add_test(NAME wine_session_start COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh start ${ORVANE_WINE_SESSION})
  add_test(NAME wine_session_stop COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh stop ${ORVANE_WINE_SESSION})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine)
  # The virtual camera registered in the prefix: the camera tests require it, so a failed
  # registration fails them instead of letting them pass without a camera.
  add_test(NAME virtualcam_register COMMAND bash ${CMAKE_SOURCE_DIR}/tools/virtualcam/register.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(virtualcam_register PROPERTIES FIXTURES_SETUP virtualcam FIXTURES_REQUIRED wine
    ENVIRONMENT "ORVANE_WINE_SESSION=${ORVANE_WINE_SESSION}")
else()
  find_package(GTest REQUIRED)
endif()

# orvane_add_test(name SOURCES ... LIBS ...): one GoogleTest program, registered as one ctest.
function(orvane_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  # The test framework's headers dominate a test file's compile time: parse them once a program.
  target_precompile_headers(${name} PRIVATE <gtest/gtest.h>)
  if(WIN32)
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main)
    set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE OFF)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine
      ENVIRONMENT "ORVANE_WINE_SESSION=${ORVANE_WINE_SESSION};ORVANE_BIN=${CMAKE_BINARY_DIR}/bin")
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
  endif()
endfunction()
