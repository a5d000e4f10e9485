# Find and replace in the editor: search routines over CTextBuffer and the
# replace dialog's logic (core, no wx).
kib_core_library(kib_editfind
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/TextSearch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReplaceSession.cpp
  DEPS kib_editor kib_edittext kib_platform)
