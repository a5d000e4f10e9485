# Find in files: the dialog, the progress window, the search loop and the
# search results panes.
kib_ui_library(kib_workspace_ui
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/SearchResultEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FindInFilesDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FindProgressWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FindInFilesRun.cpp
  DEPS kib_workspace kib_controls_ui kib_toolchain_ui kib_resources_ui kib_resources kib_edittext)
