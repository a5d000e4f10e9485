# Find and replace in the editor: search routines over CTextBuffer, the
# replace dialog's logic and the dialogs' stored state (core, no wx).
kib_core_library(kib_editfind
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TextSearch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReplaceSession.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FindDialogState.cpp
  DEPS kib_editor kib_edittext kib_settings kib_platform)
# The find and replace dialogs and the views' find commands.
kib_ui_library(kib_editfind_ui
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/ViewSearch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FindDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReplaceDialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EditFindCommands.cpp
  DEPS kib_editfind kib_editor_ui kib_toolchain_ui kib_resources kib_edittext kib_editor)
