# Collects the .cpp/.h/.ui/.qrc files of the given folders (not recursive).
function(kdr_glob_sources out)
  set(files)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS
      "${CMAKE_SOURCE_DIR}/${dir}/*.cpp"
      "${CMAKE_SOURCE_DIR}/${dir}/*.h"
      "${CMAKE_SOURCE_DIR}/${dir}/*.ui")
    list(APPEND files ${found})
  endforeach()
  set(${out} ${files} PARENT_SCOPE)
endfunction()
