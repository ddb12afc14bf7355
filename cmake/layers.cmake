# velmarix_add_layer(name DESCRIPTION... LINKS libs...): the library target of
# one folder, built from every .cpp in it once there is one.
function(velmarix_add_layer name)
  cmake_parse_arguments(LAYER "" "" "LINKS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${LAYER_LINKS} PRIVATE velmarix_warnings)
endfunction()
