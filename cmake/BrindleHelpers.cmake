# A library made of every .cpp file in the given folders (relative to the
# source root). New files are picked up at the next build without editing
# this file.
function(brindle_folder_library name)
  set(sources "")
  foreach(folder IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    # A folder still empty gives an empty library, so that targets can
    # link to it before its first file lands.
    set(sources ${CMAKE_BINARY_DIR}/empty_${name}.cpp)
    file(WRITE ${sources} "")
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# A GoogleTest program made of every .cpp file in a tests folder, registered
# with CTest test by test.
#   brindle_test_program(name folder [LIBS lib...] [PROPERTIES prop value...])
function(brindle_test_program name folder)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "" "LIBS;PROPERTIES")
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE brindle_test_support GTest::gtest ${arg_LIBS})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "BRINDLE_TEST_ROOT=${CMAKE_BINARY_DIR}" ${arg_PROPERTIES})
endfunction()
