find_package(Threads REQUIRED)

function(velmora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local -Wno-missing-field-initializers)
endfunction()

# velmora_library(name dir [NO_RECURSE]): a static library of every .cpp in dir.
function(velmora_library name dir)
  cmake_parse_arguments(ARG "NO_RECURSE" "" "" ${ARGN})
  if(ARG_NO_RECURSE)
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  else()
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  endif()
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  velmora_warnings(${name})
endfunction()

# velmora_game_library(name dir EXCLUDE paths...): every .cpp below dir except the
# excluded folders and files.
function(velmora_game_library name dir)
  cmake_parse_arguments(ARG "" "" "EXCLUDE" ${ARGN})
  file(GLOB_RECURSE all CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  set(srcs "")
  foreach(f ${all})
    set(keep TRUE)
    foreach(ex ${ARG_EXCLUDE})
      string(FIND "${f}" "${CMAKE_SOURCE_DIR}/${ex}" pos)
      if(pos EQUAL 0)
        set(keep FALSE)
      endif()
    endforeach()
    if(keep)
      list(APPEND srcs ${f})
    endif()
  endforeach()
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  velmora_warnings(${name})
endfunction()

# velmora_test(name dir LIBS libs...): one GoogleTest executable from the .cpp files
# of a test folder, registered with CTest. Tests run from the source tree so that
# they can read Game/ and tests/fixtures; SDL runs on its dummy drivers.
function(velmora_test name dir)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${dir}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  velmora_warnings(${name})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} NO_PRETTY_VALUES NO_PRETTY_TYPES
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    PROPERTIES ENVIRONMENT "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy;VELMORA_BUILD_DIR=${CMAKE_BINARY_DIR}"
    DISCOVERY_TIMEOUT 60)
endfunction()
