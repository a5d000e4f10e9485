# Find and replace in the editor: search routines over CTextBuffer, the
# replace dialog's logic and the dialogs' stored state (core, no wx).
kib_core_library(kib_editfind
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TextSearch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReplaceSession.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FindDialogState.cpp
  DEPS kib_editor kib_edittext kib_settings kib_platform)
