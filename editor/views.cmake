# The text and edit views. Core: layout, motion and text transforms (no wx).
# UI: the windows themselves.
kib_core_library(kib_edittext
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Cp1252.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextMotion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextTransform.cpp
  DEPS kib_editor kib_platform)
kib_ui_library(kib_editor_ui
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TextView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextEditView.cpp
  DEPS kib_edittext kib_editor kib_settings kib_resources)
