# The layers of the program, each a library target of one folder.
#
# velmarix_add_layer(name SOURCES a.cpp ... [LINKS libs...] [QT] [ALSO b.cpp ...])
#   Builds the listed sources of the current folder into the static library
#   `name`. Every .cpp in the folder must be listed, in SOURCES or in ALSO
#   (files the folder builds into another target, such as a program's main):
#   a file that is in no list stops the configuration instead of silently
#   staying out of the build.
#   Includes are written from the project root ("numlib/uint.h"), but the root
#   is not an include path: each layer publishes only its own folder (under
#   its own name, through a link in the build tree), so a target can include
#   the headers of exactly the layers it links. QT links Qt Widgets and is
#   allowed only for ui/ and the window/ folders.

# Fails when a .cpp file of the current folder is missing from `listed`.
function(velmarix_check_source_list listed)
  file(GLOB present RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(f IN LISTS present)
    if(NOT f IN_LIST listed)
      file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
      message(FATAL_ERROR "${folder}/${f} is in no source list of ${folder}/CMakeLists.txt")
    endif()
  endforeach()
endfunction()

# Makes the current folder includable as "<its path from the root>/..." by
# the users of `target`, and nothing else.
function(velmarix_publish_folder target)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(root ${CMAKE_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  if(NOT EXISTS ${root}/${folder})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

function(velmarix_add_layer name)
  cmake_parse_arguments(LAYER "QT" "" "SOURCES;LINKS;ALSO" ${ARGN})
  velmarix_check_source_list("${LAYER_SOURCES};${LAYER_ALSO}")
  add_library(${name} STATIC ${LAYER_SOURCES})
  velmarix_publish_folder(${name})
  target_link_libraries(${name} PUBLIC ${LAYER_LINKS} PRIVATE velmarix_warnings)
  if(LAYER_QT)
    target_link_libraries(${name} PUBLIC Qt6::Widgets)
    velmarix_compile_qt(${name})
  endif()
endfunction()
