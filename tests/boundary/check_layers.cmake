# Fails when a file of one layer of src/ includes a header of a layer it may not use.
# Each top-level folder of src/ is a layer; the table says which folders its files may
# include (a layer always may include itself; "core/util" allows only that sub-folder).
# A folder with no row fails too, so a new layer must say what it stands on.
#   cmake -DROOT=<src dir> -P check_layers.cmake
cmake_policy(SET CMP0057 NEW)
if(NOT ROOT)
  message(FATAL_ERROR "ROOT is not set")
endif()

set(allowed_platform "")
set(allowed_core "platform")
set(allowed_runtime "platform")
set(allowed_os "platform;core/util")
set(allowed_host "core;platform;runtime;os")
set(allowed_headless "host;core;platform;runtime;os")
set(allowed_desktop "host;core;platform;runtime;os")
# Modules beside the hosts: the speech recogniser, and the video renderer that paints as the
# desktop does on the headless host's clock.
set(allowed_voice "runtime;core;platform;os")
set(allowed_render "desktop;headless;host;core;platform;runtime;os")
# the slide-show module (LibreOffice over UNO) stands on the interfaces only.
set(allowed_impress "platform")

file(GLOB layers LIST_DIRECTORIES true RELATIVE "${ROOT}" "${ROOT}/*")
set(failures 0)
foreach(layer IN LISTS layers)
  if(NOT IS_DIRECTORY "${ROOT}/${layer}")
    continue()
  endif()
  if(NOT DEFINED allowed_${layer})
    message("${ROOT}/${layer}: layer ${layer} has no row in the table of allowed layers")
    math(EXPR failures "${failures} + 1")
    continue()
  endif()
  set(allowed ${layer} ${allowed_${layer}})
  file(GLOB_RECURSE files "${ROOT}/${layer}/*.h" "${ROOT}/${layer}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
    foreach(line IN LISTS includes)
      string(REGEX MATCH "\"([a-z_]+)/([a-z_]+/)?" path "${line}")
      set(top "${CMAKE_MATCH_1}")
      string(REGEX REPLACE "/$" "" sub "${CMAKE_MATCH_2}")
      if(NOT IS_DIRECTORY "${ROOT}/${top}")
        continue()  # not a layer (for example generated/)
      endif()
      if(top IN_LIST allowed OR "${top}/${sub}" IN_LIST allowed)
        continue()
      endif()
      message("${file}: ${layer} may not use ${top} (${line}); it may use: ${allowed_${layer}}")
      math(EXPR failures "${failures} + 1")
    endforeach()
  endforeach()
endforeach()

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} layer violation(s)")
endif()
message("layers clean: ${ROOT}")
