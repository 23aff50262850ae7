# Helpers shared by every subsystem's CMakeLists.

# tarn_install_program(<target>...): install into the program directory.
function(tarn_install_program)
  install(TARGETS ${ARGN}
          RUNTIME DESTINATION ${TARN_INSTALL_DIR}
          LIBRARY DESTINATION ${TARN_INSTALL_DIR})
endfunction()

# tarn_add_test(<name> SOURCES <files...> LIBS <targets...>)
# A GoogleTest executable kept out of the program directory, registered with CTest.
function(tarn_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/TestLocale.cpp)
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock Threads::Threads)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
                                           BUILD_RPATH "${TARN_BIN_DIR}")
  target_compile_definitions(${name} PRIVATE TARN_BIN_DIR="${TARN_BIN_DIR}"
                                             TARN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${T_LABELS}")
endfunction()

# tarn_add_folder(<folder>): add_subdirectory unless TARN_ONLY excludes it.
# Group folders (tests, bench, fuzz, tools) are always entered; their children
# are filtered by their path relative to the source tree.
function(tarn_add_folder dir)
  if(IS_ABSOLUTE ${dir})
    set(path ${dir})
  else()
    set(path ${CMAKE_CURRENT_SOURCE_DIR}/${dir})
  endif()
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${path})
  if(TARN_ONLY AND NOT rel MATCHES "^(tests|bench|fuzz|tools)$" AND NOT rel MATCHES "${TARN_ONLY}")
    return()
  endif()
  add_subdirectory(${dir})
endfunction()

# tarn_install_unit(<name.service.in>): the systemd unit with the paths of the
# installation (CMAKE_INSTALL_PREFIX at configuration time) into
# PREFIX/lib/systemd/system/, and a copy naming the build's program directory
# in build/systemd-test/ for the unit tests (systemd-analyze verify).
function(tarn_install_unit source)
  get_filename_component(name ${source} NAME_WLE)
  set(TARN_DOC_PATH ${CMAKE_INSTALL_PREFIX}/${TARN_DOC_DIR})
  set(TARN_PROGRAM_PATH ${CMAKE_INSTALL_PREFIX}/${TARN_INSTALL_DIR})
  configure_file(${source} ${CMAKE_BINARY_DIR}/systemd/${name} @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/systemd/${name} DESTINATION lib/systemd/system)
  set(TARN_PROGRAM_PATH ${TARN_BIN_DIR})
  configure_file(${source} ${CMAKE_BINARY_DIR}/systemd-test/${name} @ONLY)
endfunction()
