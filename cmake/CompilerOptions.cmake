# Options every target of the project shares: warnings, identical floating point on
# every platform and processor (no contraction into fused multiply-adds, which
# GCC does by default on arm64; no fast-math), sanitizers. The math functions
# leave errno alone, so that a square root is one instruction, for one lane or
# two, whatever the processor.
add_library(horavel_options INTERFACE)
target_compile_options(horavel_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
  -ffp-contract=off -fno-fast-math -fno-math-errno)
if(HORAVEL_WERROR)
  target_compile_options(horavel_options INTERFACE -Werror)
endif()
if(HORAVEL_SANITIZE)
  target_compile_options(horavel_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(horavel_options INTERFACE -fsanitize=address,undefined)
endif()
target_include_directories(horavel_options INTERFACE ${CMAKE_SOURCE_DIR})
# The builds packages are made from give the same bytes from the same sources in
# any folder: the source and build folders are written as . and build wherever
# a path reaches the output (file names, debug information), the build folder's
# map given last so that it wins where it lies inside the sources; and the
# Windows linker leaves the time out of the PE header.
option(HORAVEL_REPRODUCIBLE "Build the same bytes from the same sources in any folder" OFF)
if(HORAVEL_REPRODUCIBLE)
  target_compile_options(horavel_options INTERFACE
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=build)
  if(WIN32)
    target_link_options(horavel_options INTERFACE -Wl,--no-insert-timestamp)
  endif()
endif()
if(WIN32)
  # One self-contained executable: no compiler runtime DLLs beside it.
  target_link_options(horavel_options INTERFACE -static)
  target_compile_definitions(horavel_options INTERFACE UNICODE _UNICODE NOMINMAX WIN32_LEAN_AND_MEAN)
endif()

# A static library made of every source file in one folder of the tree.
function(horavel_folder_library name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;DEPENDS" ${ARGN})
  set(sources)
  foreach(folder IN LISTS ARG_FOLDERS)
    file(GLOB found CONFIGURE_DEPENDS ${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    target_link_libraries(${name} PUBLIC horavel_options ${ARG_DEPENDS})
  else()
    # A folder of headers only.
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE horavel_options ${ARG_DEPENDS})
  endif()
endfunction()

# Copies the textures next to a program so that it finds them beside itself,
# and copies a texture again whenever it changes, whether or not the program is
# linked anew. The program is written to the current binary folder.
function(horavel_copy_assets target)
  set(copies)
  foreach(asset Earth.png Moon.png)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${asset}
      COMMAND ${CMAKE_COMMAND} -E copy ${HORAVEL_ASSET_DIR}/${asset} ${CMAKE_CURRENT_BINARY_DIR}/${asset}
      DEPENDS ${HORAVEL_ASSET_DIR}/${asset}
      VERBATIM)
    list(APPEND copies ${CMAKE_CURRENT_BINARY_DIR}/${asset})
  endforeach()
  add_custom_target(${target}-textures DEPENDS ${copies})
  add_dependencies(${target} ${target}-textures)
endfunction()
