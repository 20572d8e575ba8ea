# Chooses the GLUI the editor links against and defines the target glui::glui.
#   GLUI_PROVIDER=auto     an installed GLUI when one is found, else ours
#   GLUI_PROVIDER=system   an installed GLUI, or stop
#   GLUI_PROVIDER=bundled  always ours (glui/)
# An installed GLUI is looked for in this order:
#   1. its CMake package, as GLUI's own CMake install (lib/cmake/glui) and
#      vcpkg's glui port give it: find_package(glui CONFIG), target
#      glui::glui, or glui::glui_static where that is all it has;
#   2. its header GL/glui.h and its library glui, as older installs and
#      distribution packages leave them.
set(GLUI_PROVIDER auto CACHE STRING "Which GLUI to use: auto, system or bundled")
set_property(CACHE GLUI_PROVIDER PROPERTY STRINGS auto system bundled)

if(NOT GLUI_PROVIDER MATCHES "^(auto|system|bundled)$")
  message(FATAL_ERROR "GLUI_PROVIDER must be auto, system or bundled, not '${GLUI_PROVIDER}'")
endif()

if(NOT GLUI_PROVIDER STREQUAL "bundled")
  find_package(glui CONFIG QUIET)
  set(GLUI_PACKAGE_TARGET glui::glui)
  if(glui_FOUND AND NOT TARGET glui::glui AND TARGET glui::glui_static)
    set(GLUI_PACKAGE_TARGET glui::glui_static)
    add_library(glui::glui INTERFACE IMPORTED)
    target_link_libraries(glui::glui INTERFACE glui::glui_static)
  endif()
  if(NOT TARGET glui::glui)
    find_path(GLUI_INCLUDE_DIR GL/glui.h)
    find_library(GLUI_LIBRARY glui)
  endif()
endif()

if(TARGET glui::glui)
  set(GLUI_USED "system" CACHE INTERNAL "")
  message(STATUS "GLUI: using the installed GLUI through its CMake package "
    "(${GLUI_PACKAGE_TARGET}, ${glui_DIR})")
elseif(NOT GLUI_PROVIDER STREQUAL "bundled" AND GLUI_INCLUDE_DIR AND GLUI_LIBRARY)
  if(NOT OPENGL_GLU_FOUND)
    message(FATAL_ERROR "The installed GLUI needs GLU. Install it: apt-get install libglu1-mesa-dev")
  endif()
  add_library(glui::glui UNKNOWN IMPORTED)
  set_target_properties(glui::glui PROPERTIES
    IMPORTED_LOCATION "${GLUI_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${GLUI_INCLUDE_DIR}"
    INTERFACE_LINK_LIBRARIES "GLUT::GLUT;OpenGL::GL;OpenGL::GLU")
  set(GLUI_USED "system" CACHE INTERNAL "")
  message(STATUS "GLUI: using the installed GLUI (${GLUI_LIBRARY}, headers in ${GLUI_INCLUDE_DIR})")
elseif(GLUI_PROVIDER STREQUAL "system")
  message(FATAL_ERROR "GLUI_PROVIDER=system, but no installed GLUI was found (neither its CMake "
    "package glui nor its header GL/glui.h and library glui). Install GLUI 2.35 or later, point "
    "CMAKE_PREFIX_PATH at it, or configure with -DGLUI_PROVIDER=bundled to use the project's own.")
else()
  add_subdirectory(${PROJECT_SOURCE_DIR}/glui ${PROJECT_BINARY_DIR}/glui)
  set(GLUI_USED "bundled" CACHE INTERNAL "")
  message(STATUS "GLUI: using the project's own GLUI-compatible library (glui/)")
endif()
