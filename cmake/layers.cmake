# The layers of src/: one folder, one layer. zelvar_layer(<folder> DEPENDS
# <folders below it> PORTABLE <sources> WIN32 <sources>) makes zelvar_<folder>
# from the portable sources (both trees) and, in the Windows tree,
# zelvar_<folder>_win from the Win32 ones on top of it.
#
# Sources include headers by folder ("power/power_cycle.h"). No library puts
# src/ itself on the include path: each shows only a view of its own folder
# (<build>/layers/<folder>/<folder>, a link to the folder) and gets the views
# of the layers it depends on through them. An include of a folder the layer
# may not use is not found, and the build stops there.
function(zelvar_layer folder)
  cmake_parse_arguments(LAYER "" "" "DEPENDS;PORTABLE;WIN32" ${ARGN})
  set(view ${CMAKE_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${view})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${view}/${folder} SYMBOLIC)

  add_library(zelvar_${folder} STATIC ${LAYER_PORTABLE})
  target_include_directories(zelvar_${folder} PUBLIC ${view})
  foreach(below ${LAYER_DEPENDS})
    target_link_libraries(zelvar_${folder} PUBLIC zelvar_${below})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY ZELVAR_LAYERS zelvar_${folder})

  if(WIN32)
    add_library(zelvar_${folder}_win STATIC ${LAYER_WIN32})
    target_link_libraries(zelvar_${folder}_win PUBLIC zelvar_${folder})
    foreach(below ${LAYER_DEPENDS})
      target_link_libraries(zelvar_${folder}_win PUBLIC zelvar_${below}_win)
    endforeach()
    set_property(GLOBAL APPEND PROPERTY ZELVAR_LAYERS zelvar_${folder}_win)
  endif()
endfunction()
