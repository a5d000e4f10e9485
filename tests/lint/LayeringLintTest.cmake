# The layering lint run on small made-up trees: a clean one passes, and each
# kind of offence, planted alone, fails with its own message.
#   cmake -DLINT=cmake/CheckLayering.cmake -DWORK_DIR=<scratch> -P LayeringLintTest.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT LINT OR NOT WORK_DIR)
  message(FATAL_ERROR "usage: cmake -DLINT=<CheckLayering.cmake> -DWORK_DIR=<dir> -P LayeringLintTest.cmake")
endif()

set(README [=[
# Tree

## Layout

<!-- layers, lowest first -->
```text
platform/
settings/    resources/
editor/      toolchain/    update/
app/
```

- `platform/` below everything; `update/` is still to come.
]=])

# name;content pairs of the clean tree.
set(clean_files
  "platform/CMakeLists.txt" "kib_core_library(kib_platform SOURCES Path.cpp)\n"
  "platform/Path.h" "#pragma once\n#include <string>\n"
  "platform/Path.cpp" "#include \"platform/Path.h\"\n"
  "settings/CMakeLists.txt" "kib_core_library(kib_settings\n  SOURCES Store.cpp\n  DEPS kib_platform)\n"
  "settings/Store.h" "#pragma once\n#include \"platform/Path.h\"\n"
  "settings/Store.cpp" "#include \"settings/Store.h\"\n"
  "resources/CMakeLists.txt" "kib_ui_library(kib_resources_ui SOURCES Art.cpp)\n"
  "resources/Ids.h" "#pragma once\n#define ID_OK 1\n"
  "resources/Art.h" "#pragma once\n#include <wx/bitmap.h>\n"
  "resources/Art.cpp" "#include \"resources/Art.h\"\n#include \"resources/Ids.h\"\n"
  "editor/CMakeLists.txt"
      "kib_core_library(kib_editor\n  SOURCES Buffer.cpp\n  DEPS kib_settings)\nkib_ui_library(kib_editor_ui\n  SOURCES View.cpp ViewState.h\n  DEPS kib_editor)\n"
  "editor/Buffer.h" "#pragma once\n#include \"settings/Store.h\"\n#include \"resources/Ids.h\"\n"
  "editor/Buffer.cpp" "#include \"editor/Buffer.h\"\n#include \"platform/Path.h\"\n"
  "editor/ViewState.h" "#pragma once\n#include <wx/gdicmn.h>\n"
  "editor/View.h" "#pragma once\n#include \"editor/Buffer.h\"\n#include \"editor/ViewState.h\"\n#include <wx/window.h>\n"
  "editor/View.cpp" "#include \"editor/View.h\"\n#include \"resources/Art.h\"\n"
  "toolchain/CMakeLists.txt" "kib_core_library(kib_toolchain SOURCES Runner.cpp)\n"
  "toolchain/Runner.h" "#pragma once\n#include \"settings/Store.h\"\n"
  "toolchain/Runner.cpp" "#include \"toolchain/Runner.h\"\n"
  "app/CMakeLists.txt"
      "kib_core_library(kib_app SOURCES Recent.cpp)\nkib_ui_library(kib_app_ui SOURCES Frame.cpp DEPS kib_app)\nadd_executable(kib Main.cpp)\n"
  "app/Recent.h" "#pragma once\n#include <vector>\n"
  "app/Recent.cpp" "#include \"app/Recent.h\"\n#include \"toolchain/Runner.h\"\n"
  "app/Frame.h" "#pragma once\n#include \"editor/View.h\"\n#include <wx/frame.h>\n"
  "app/Frame.cpp" "#include \"app/Frame.h\"\n#include \"toolchain/Runner.h\"\n"
  "app/Main.cpp" "#include \"app/Frame.h\"\n#include <wx/app.h>\n"
  # Above and beside the layers: never read.
  "tests/unit/FrameTest.cpp" "#include \"app/Frame.h\"\n#include \"editor/View.h\"\n"
  "build/junk/gen.cpp" "#include \"tests/unit/FrameTest.cpp\"\n#include <wx/wx.h>\n")

function(make_tree dir)
  file(REMOVE_RECURSE ${dir})
  file(WRITE ${dir}/README.md "${README}")
  set(files ${clean_files})
  list(LENGTH files n)
  math(EXPR last "${n} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET files ${i} name)
    list(GET files ${j} content)
    file(WRITE ${dir}/${name} "${content}")
  endforeach()
endfunction()

set(failures "")
set(cases 0)

# expect(<case> <PASS|FAIL> <regex the lint's output must match>)
function(expect name outcome regex)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK_DIR}/${name} -P ${LINT}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  # CMake wraps long messages: compare with the white space folded.
  string(REGEX REPLACE "[ \t\r\n]+" " " text "${out}${err}")
  set(ok TRUE)
  if(outcome STREQUAL "PASS" AND NOT rc EQUAL 0)
    set(ok FALSE)
  elseif(outcome STREQUAL "FAIL" AND rc EQUAL 0)
    set(ok FALSE)
  endif()
  if(NOT text MATCHES "${regex}")
    set(ok FALSE)
  endif()
  if(NOT ok)
    set(failures "${failures}\n--- ${name}: expected ${outcome} matching '${regex}', got rc ${rc}:\n${text}"
        PARENT_SCOPE)
  endif()
  math(EXPR c "${cases} + 1")
  set(cases ${c} PARENT_SCOPE)
endfunction()

macro(planted name)
  make_tree(${WORK_DIR}/${name})
  set(tree ${WORK_DIR}/${name})
endmacro()

# The clean tree, with update/ named but absent, tests/ and build/ ignored.
planted(clean)
expect(clean PASS "layering clean: 19 files in platform settings resources editor toolchain update app")

planted(up)
file(APPEND ${tree}/platform/Path.cpp "#include \"settings/Store.h\"\n")
expect(up FAIL "platform/Path.cpp: includes settings/Store.h up the folder order")

planted(up_from_header)
file(APPEND ${tree}/editor/Buffer.h "#include \"app/Recent.h\"\n")
expect(up_from_header FAIL "editor/Buffer.h: includes app/Recent.h up the folder order")

planted(peer)
file(APPEND ${tree}/editor/Buffer.cpp "#include \"toolchain/Runner.h\"\n")
expect(peer FAIL "editor/Buffer.cpp: includes toolchain/Runner.h from its peer folder toolchain/")

planted(peer_low)
file(APPEND ${tree}/settings/Store.cpp "#  include \"resources/Ids.h\"\n")
expect(peer_low FAIL "settings/Store.cpp: includes resources/Ids.h from its peer folder resources/")

planted(wx_in_core)
file(APPEND ${tree}/toolchain/Runner.h "#include <wx/string.h>\n")
expect(wx_in_core FAIL "toolchain/Runner.h: a core file includes wxWidgets")

planted(wx_in_app_core)
file(APPEND ${tree}/app/Recent.cpp "#include \"wx/event.h\"\n")
expect(wx_in_app_core FAIL "app/Recent.cpp: a core file includes wxWidgets")

planted(wx_in_lone_header)
file(APPEND ${tree}/resources/Ids.h "#include <wx/defs.h>\n")
expect(wx_in_lone_header FAIL "resources/Ids.h: a core file includes wxWidgets")

planted(ui_header_in_core)
file(APPEND ${tree}/editor/Buffer.cpp "#include \"editor/View.h\"\n")
expect(ui_header_in_core FAIL "editor/Buffer.cpp: a core file includes the UI header editor/View.h")

planted(named_ui_header_in_core)
file(APPEND ${tree}/editor/Buffer.cpp "#include \"editor/ViewState.h\"\n")
expect(named_ui_header_in_core FAIL "editor/Buffer.cpp: a core file includes the UI header editor/ViewState.h")

planted(folder_in_no_layer)
file(WRITE ${tree}/gadgets/Thing.cpp "int thing;\n")
expect(folder_in_no_layer FAIL "gadgets/ holds sources but stands in no layer")

planted(include_from_tests)
file(APPEND ${tree}/app/Frame.cpp "#include \"tests/unit/FrameTest.cpp\"\n")
expect(include_from_tests FAIL "app/Frame.cpp: includes tests/unit/FrameTest.cpp from tests/, which is no layer")

planted(file_in_no_library)
file(WRITE ${tree}/editor/Orphan.cpp "#include \"editor/Buffer.h\"\n")
expect(file_in_no_library FAIL "editor/Orphan.cpp is named in no library or program")

planted(library_name)
file(WRITE ${tree}/toolchain/CMakeLists.txt "kib_core_library(kib_tools SOURCES Runner.cpp)\n")
expect(library_name FAIL "kib_core_library\\(kib_tools\\): the core library of toolchain/ is kib_toolchain")

planted(no_cmakelists)
file(REMOVE ${tree}/toolchain/CMakeLists.txt)
expect(no_cmakelists FAIL "toolchain/ holds sources but has no CMakeLists.txt")

planted(no_layer_block)
file(WRITE ${tree}/README.md "# Tree\n\nplatform/ settings/\n")
expect(no_layer_block FAIL "README.md has no layer block")

# Every offence is named, not only the first.
planted(several)
file(APPEND ${tree}/platform/Path.h "#include \"app/Frame.h\"\n")
file(APPEND ${tree}/settings/Store.cpp "#include <wx/string.h>\n")
expect(several FAIL "layering: 3 offence")

file(REMOVE_RECURSE ${WORK_DIR})
if(failures)
  message(FATAL_ERROR "the layering lint misjudged a tree:${failures}")
endif()
message(STATUS "layering lint: ${cases} trees judged as expected")
