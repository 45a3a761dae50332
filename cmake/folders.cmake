# One static library per source folder, holding every .cpp in it, so a new file needs no build edit.
function(kelvane_folder_library name folder)
  cmake_parse_arguments(arg "" "" "EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  foreach(excluded IN LISTS arg_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_SOURCE_DIR}/${folder}/${excluded})
  endforeach()
  if(NOT sources)   # a folder not yet written still gives a library to link
    set(sources ${CMAKE_BINARY_DIR}/${name}_empty.cpp)
    file(WRITE ${sources} "")
  endif()
  add_library(${name} STATIC ${sources})
  target_link_libraries(${name} PUBLIC kelvane_options)
endfunction()
