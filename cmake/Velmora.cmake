find_package(Threads REQUIRED)

function(velmora_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow=local -Wno-missing-field-initializers)
endfunction()

# ---- Layers ----
# velmora_layer(name DIRS dirs... [EXCLUDE paths...] [BELOW target]): a static
# library of every .cpp under the given folders of src/ (less the excluded
# sub-folders, which belong to other layers, and excluded files, named without
# ".cpp"), linking the layer just below it.
# Its include root (build/layers/<name>) holds links to its own folders and to
# those of every layer made before it, and nothing else: an include of a
# higher layer's header does not compile.
function(velmora_layer name)
  cmake_parse_arguments(ARG "" "BELOW" "DIRS;EXCLUDE" ${ARGN})
  set(srcs "")
  foreach(dir ${ARG_DIRS})
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/${dir}/*.cpp)
    list(APPEND srcs ${found})
  endforeach()
  foreach(ex ${ARG_EXCLUDE})
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_SOURCE_DIR}/src/${ex}(/|\\.cpp$)")
  endforeach()
  if(NOT srcs)
    set(srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()

  get_property(visible GLOBAL PROPERTY VELMORA_VISIBLE_DIRS)
  list(APPEND visible ${ARG_DIRS})
  set_property(GLOBAL PROPERTY VELMORA_VISIBLE_DIRS ${visible})

  set(root ${CMAKE_BINARY_DIR}/layers/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(dir ${visible})
    # A folder inside another visible folder is reached through that one.
    set(covered FALSE)
    foreach(other ${visible})
      string(FIND "${dir}" "${other}/" pos)
      if(pos EQUAL 0)
        set(covered TRUE)
      endif()
    endforeach()
    if(NOT covered AND EXISTS ${CMAKE_SOURCE_DIR}/src/${dir})
      get_filename_component(parent ${root}/${dir} DIRECTORY)
      file(MAKE_DIRECTORY ${parent})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/src/${dir} ${root}/${dir} SYMBOLIC)
    endif()
  endforeach()

  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PRIVATE ${root})
  velmora_warnings(${name})
  if(ARG_BELOW)
    target_link_libraries(${name} PUBLIC ${ARG_BELOW})
  endif()
  set_property(GLOBAL APPEND PROPERTY VELMORA_LAYERS ${name})
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

# velmora_embed_default_font(target): the platform's fallback font, DejaVu Sans
# from Debian's fonts-dejavu-core, assembled into the program at build time
# (src/app/platform/default_font.cpp) so that text still draws when the pack's
# fonts are missing.
function(velmora_embed_default_font target)
  find_file(VELMORA_DEFAULT_FONT DejaVuSans.ttf
    PATHS /usr/share/fonts/truetype/dejavu NO_DEFAULT_PATH REQUIRED)
  set(src ${CMAKE_SOURCE_DIR}/src/app/platform/default_font.cpp)
  set_source_files_properties(${src} PROPERTIES
    COMPILE_DEFINITIONS "VELMORA_DEFAULT_FONT_FILE=\"${VELMORA_DEFAULT_FONT}\""
    OBJECT_DEPENDS ${VELMORA_DEFAULT_FONT})
endfunction()
