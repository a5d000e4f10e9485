# The text and edit views. Core: layout, motion, text transforms, the
# selection model, bookmarks, display lengths and colours (no wx). UI: the
# renderer and the windows themselves.
kib_core_library(kib_edittext
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Cp1252.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextLayout.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextMotion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextTransform.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SelectionModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bookmarks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DisplayLengths.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextColors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextBlockText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DateTimeList.cpp
  DEPS kib_editor kib_settings kib_platform)
kib_ui_library(kib_editor_ui
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/GlyphCache.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PixelCanvas.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextRenderer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextView.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextViewPaint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextViewScroll.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextViewMouse.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextEditView.cpp
  DEPS kib_edittext kib_editor kib_settings kib_resources_ui kib_resources)
# The view's pixels reach the window through cairo where wx draws with it.
if(KIB_BUILD_UI AND TARGET kib_editor_ui)
  find_package(PkgConfig QUIET)
  if(PKG_CONFIG_FOUND)
    pkg_check_modules(KIB_CAIRO QUIET IMPORTED_TARGET cairo)
    if(KIB_CAIRO_FOUND)
      target_link_libraries(kib_editor_ui PUBLIC PkgConfig::KIB_CAIRO)
    endif()
  endif()
endif()
