# Writes the supported-models help page from a plain setting file, so the
# page lists exactly the models the shipped setting file holds.
#
#   cmake -DSETTING_FILE=vexa5.set -DTEMPLATE=1002.html.in -DOUTPUT=1002.html -P models_page.cmake
#
# Rows are read as the library reads them: a semicolon starts a comment,
# fields split at commas, blanks, tabs and quotes are dropped. D rows are
# units on the Q7 bus (field 1 the model, fields 4 on its other names), the
# L row the sensor-input logger, P rows models reached one system at a time,
# S rows models reached one unit at a time over a board connection.

function(html_text text out)
  string(REPLACE "&" "&amp;" text "${text}")
  string(REPLACE "<" "&lt;" text "${text}")
  string(REPLACE ">" "&gt;" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(unit_kind kind out)
  if(kind MATCHES "^DO")
    set(${out} "outdoor unit" PARENT_SCOPE)
  elseif(kind MATCHES "^DI")
    set(${out} "indoor unit" PARENT_SCOPE)
  elseif(kind STREQUAL "DC")
    set(${out} "central device" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

file(READ "${SETTING_FILE}" content)
# Semicolons and brackets mean lists to CMake: comments are cut at a mark of
# their own, and brackets (only in recognition patterns) become parentheses.
string(ASCII 1 comment)
string(REPLACE ";" "${comment}" content "${content}")
string(REPLACE "[" "(" content "${content}")
string(REPLACE "]" ")" content "${content}")
string(REPLACE "\r" "" content "${content}")
string(REPLACE "\n" ";" lines "${content}")

set(bus "")
set(logger "")
set(system "")
set(unit "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "${comment}.*" "" line "${line}")
  string(REGEX REPLACE "[ \t\"]" "" line "${line}")
  if(line STREQUAL "")
    continue()
  endif()
  string(REPLACE "," ";" fields "${line}")
  list(LENGTH fields count)
  if(count LESS 2)
    continue()
  endif()
  list(GET fields 0 kind)
  list(GET fields 1 model)
  html_text("${model}" model)
  if(kind MATCHES "^D")
    set(others "")
    if(count GREATER 4)
      list(SUBLIST fields 4 -1 names)
      list(FILTER names EXCLUDE REGEX "^$")
      list(JOIN names ", " others)
      html_text("${others}" others)
    endif()
    unit_kind("${kind}" what)
    string(APPEND bus "<tr><td>${model}</td><td>${what}</td><td>${others}</td></tr>\n")
  elseif(kind STREQUAL "L")
    string(APPEND logger "<tr><td>${model}</td></tr>\n")
  elseif(kind STREQUAL "P")
    string(APPEND system "<tr><td>${model}</td></tr>\n")
  elseif(kind MATCHES "^S")
    string(APPEND unit "<tr><td>${model}</td></tr>\n")
  endif()
endforeach()

set(MODEL_SECTIONS "")
if(bus)
  string(APPEND MODEL_SECTIONS "<h2 id=\"bus\">Units on the Q7 bus</h2>\n<table>\n"
         "<tr><th>Model</th><th>Unit</th><th>Also recognised as</th></tr>\n${bus}</table>\n")
endif()
if(logger)
  string(APPEND MODEL_SECTIONS "<h2 id=\"sensor\">Sensor-input logger</h2>\n<table>\n"
         "<tr><th>Model</th></tr>\n${logger}</table>\n")
endif()
if(system)
  string(APPEND MODEL_SECTIONS "<h2 id=\"system\">One system at a time</h2>\n<table>\n"
         "<tr><th>Model</th></tr>\n${system}</table>\n")
endif()
if(unit)
  string(APPEND MODEL_SECTIONS "<h2 id=\"unit\">One unit at a time (board connection)</h2>\n<table>\n"
         "<tr><th>Model</th></tr>\n${unit}</table>\n")
endif()
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
