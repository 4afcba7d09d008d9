# GoogleTest: the host's for native tests, cross-built from Debian's source for Windows.
if(WIN32)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # The Wine tests run in two lanes, each with a display, a wineserver and a prefix of its own,
  # started and stopped by ctest fixtures: the programs of one lane run one after another (they
  # share a registry and a documents folder), the two lanes side by side, since most of a Wine
  # test's time goes into waiting on windows and the camera's frame clock.
  set(ORVANE_WINE_SESSION ${CMAKE_BINARY_DIR}/wine-session)
  set(ORVANE_LANE_a_SESSION ${CMAKE_BINARY_DIR}/wine-session)
  set(ORVANE_LANE_a_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(ORVANE_LANE_b_SESSION ${CMAKE_BINARY_DIR}/wine-session-b)
  set(ORVANE_LANE_b_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-b)
  foreach(lane a b)
    set(env "ORVANE_WINE_SESSION=${ORVANE_LANE_${lane}_SESSION};ORVANE_WINEPREFIX=${ORVANE_LANE_${lane}_PREFIX};ORVANE_BIN=${CMAKE_BINARY_DIR}/bin")
    set(ORVANE_LANE_${lane}_ENV "${env}" CACHE INTERNAL "")
    add_test(NAME wine_session_start_${lane} COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh start ${ORVANE_LANE_${lane}_SESSION})
    add_test(NAME wine_session_stop_${lane} COMMAND ${CMAKE_SOURCE_DIR}/tools/wine-session.sh stop ${ORVANE_LANE_${lane}_SESSION})
    set_tests_properties(wine_session_start_${lane} PROPERTIES FIXTURES_SETUP wine_${lane} ENVIRONMENT "${env}")
    set_tests_properties(wine_session_stop_${lane} PROPERTIES FIXTURES_CLEANUP wine_${lane} ENVIRONMENT "${env}")
    # The virtual camera registered in the lane's prefix: the camera tests require it, so a
    # failed registration fails them instead of letting them pass without a camera.
    add_test(NAME virtualcam_register_${lane} COMMAND bash ${CMAKE_SOURCE_DIR}/tools/virtualcam/register.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(virtualcam_register_${lane} PROPERTIES FIXTURES_SETUP virtualcam_${lane}
      FIXTURES_REQUIRED wine_${lane} ENVIRONMENT "${env}")
  endforeach()
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
    # Unit tests of the Windows build go in the second lane; the programs that drive the real
    # Orvane choose theirs.
    orvane_wine_lane(${name} LANE b)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
  endif()
endfunction()

# orvane_wine_lane(test LANE a|b [CAMERA] [FILTER gtest-filter]): the test runs in that lane,
# alone in it, with the lane's virtual camera when it needs one, and only the tests the filter
# names (a long program is shared out between the lanes so).
function(orvane_wine_lane test)
  cmake_parse_arguments(L "CAMERA" "LANE;FILTER" "" ${ARGN})
  set(fixtures wine_${L_LANE})
  if(L_CAMERA)
    list(APPEND fixtures virtualcam_${L_LANE})
  endif()
  set(env "${ORVANE_LANE_${L_LANE}_ENV}")
  if(L_FILTER)
    list(APPEND env "GTEST_FILTER=${L_FILTER}")
  endif()
  set_tests_properties(${test} PROPERTIES RESOURCE_LOCK wine_lane_${L_LANE}
    FIXTURES_REQUIRED "${fixtures}" ENVIRONMENT "${env}")
endfunction()
