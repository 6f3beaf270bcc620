# Fails when a file of the core includes a header of a layer above its own. Layers, lowest
# first: base, render/codecs, document, render, interact, and the model (settings, control,
# plot). A folder's win32/ and native/ parts belong to its layer.
#   cmake -DSOURCE_DIR=<root> -P check_layers.cmake

# The layers' folders, lowest first; a path belongs to the first that matches.
set(patterns "^base/" "^render/codecs/" "^document/" "^render/" "^interact/"
             "^(settings|control|plot)/")
function(layer_of path out)
  set(index 0)
  foreach(pattern IN LISTS patterns)
    if(path MATCHES "${pattern}")
      set(${out} ${index} PARENT_SCOPE)
      return()
    endif()
    math(EXPR index "${index} + 1")
  endforeach()
  set(${out} -1 PARENT_SCOPE)
endfunction()

set(names base codecs document render interact model)
set(problems "")
foreach(dir base document render interact settings control plot)
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${dir}/*.h ${SOURCE_DIR}/${dir}/*.cpp)
  foreach(file ${files})
    layer_of(${file} own)
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
      layer_of(${header} target)
      if(target GREATER own)
        list(GET names ${own} ownName)
        list(GET names ${target} targetName)
        string(APPEND problems "  ${file} (${ownName}) includes ${header} (${targetName})\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(problems)
  message(FATAL_ERROR "A layer includes a layer above it:\n${problems}")
endif()
