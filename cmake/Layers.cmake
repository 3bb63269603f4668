# One static library per layer of src/. Each layer collects the .cpp files of its folder
# (recursively), so adding a file needs no edit here; re-run cmake after adding one
# (CONFIGURE_DEPENDS does that for you on the next build).
function(rirerazo_layer name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/${dir}/*.cpp")
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src" "${PROJECT_BINARY_DIR}/generated")
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src" "${PROJECT_BINARY_DIR}/generated")
  endif()
endfunction()

# One GoogleTest executable per layer, from tests/<dir>/**/*.cpp.
function(rirerazo_layer_tests name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/${dir}/*.cpp")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main GTest::gmock)
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_compile_definitions(${name} PRIVATE
    RIRERAZO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    RIRERAZO_BINARY_DIR="${PROJECT_BINARY_DIR}"
    RIRERAZO_SHARED_DIR="${PROJECT_SOURCE_DIR}/../shared")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()

# Adds every direct subfolder of the calling folder that has a CMakeLists.txt, so a new
# tool, benchmark or fuzz target needs no edit of its parent.
function(rirerazo_add_subfolders)
  file(GLOB dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*")
  foreach(dir IN LISTS dirs)
    if(IS_DIRECTORY "${dir}" AND EXISTS "${dir}/CMakeLists.txt")
      add_subdirectory("${dir}")
    endif()
  endforeach()
endfunction()
