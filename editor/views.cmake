# The text and edit views. Core: layout, motion and text transforms (no wx).
# UI: the windows themselves.
set(_kib_edittext_deps kib_platform)
if(TARGET kib_editor)
  list(PREPEND _kib_edittext_deps kib_editor)
endif()
kib_core_library(kib_edittext
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Cp1252.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextMotion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextTransform.cpp
  DEPS ${_kib_edittext_deps})
