# Helpers that keep the layering: core libraries never see wxWidgets.

# kib_core_library(<name> SOURCES ... [DEPS ...])
# A static library of core code. It joins kib_core.
function(kib_core_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${name} PUBLIC KIB_VERSION="${PROJECT_VERSION}")
  find_package(Threads REQUIRED)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} Threads::Threads)
  foreach(dep IN LISTS ARG_DEPS)
    if(dep STREQUAL "kib_wx" OR dep MATCHES "_ui$")
      message(FATAL_ERROR "core library ${name} must not depend on ${dep}")
    endif()
  endforeach()
  target_link_libraries(kib_core INTERFACE ${name})
endfunction()

# kib_ui_library(<name> SOURCES ... [DEPS ...])
# A static library of wxWidgets windows. It joins kib_ui.
function(kib_ui_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT KIB_BUILD_UI)
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} kib_wx)
  target_link_libraries(kib_ui INTERFACE ${name})
endfunction()

# kib_use_gtk3(<target> <why>)
# Gives a UI library GTK's own headers where wx offers no way round it, and
# KIB_HAVE_GTK3 to its sources; without pkg-config or GTK the code keeps its
# portable path.
function(kib_use_gtk3 name)
  if(NOT KIB_BUILD_UI OR NOT TARGET ${name})
    return()
  endif()
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(KIB_USE_GTK3 QUIET IMPORTED_TARGET gtk+-3.0)
    if(KIB_USE_GTK3_FOUND)
      target_link_libraries(${name} PRIVATE PkgConfig::KIB_USE_GTK3)
      target_compile_definitions(${name} PRIVATE KIB_HAVE_GTK3)
    endif()
  endif()
endfunction()
