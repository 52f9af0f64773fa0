# Installs the build under a scratch prefix and checks that it is one
# program folder with its desktop entry and icon, and nothing else: no test
# program, benchmark or tool. The build tree is left as it was, and so is
# install_manifest.txt, the list of a user's own install: the check installs
# the component "program", listed in install_manifest_program.txt.
#
#   cmake -DBUILD_DIR=build-tests -DPREFIX=build-tests/install-check -DFOLDER=pelomar3 -P check_install.cmake

function(fail message)
  message(FATAL_ERROR "install check: ${message}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}")
file(GLOB_RECURSE build_before LIST_DIRECTORIES true "${BUILD_DIR}/app/*")
set(user_manifest "${BUILD_DIR}/install_manifest.txt")
set(user_manifest_before "")
if(EXISTS "${user_manifest}")
  file(SHA256 "${user_manifest}" user_manifest_before)
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --component program --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  fail("cmake --install failed: ${errors}")
endif()
file(GLOB_RECURSE build_after LIST_DIRECTORIES true "${BUILD_DIR}/app/*")
list(REMOVE_ITEM build_after ${build_before})
if(build_after)
  fail("installing wrote into the build tree: ${build_after}")
endif()
set(user_manifest_after "")
if(EXISTS "${user_manifest}")
  file(SHA256 "${user_manifest}" user_manifest_after)
endif()
if(NOT user_manifest_after STREQUAL user_manifest_before)
  fail("the check's install rewrote install_manifest.txt, by which a user uninstalls")
endif()

set(expected
  share/applications/pelomar3.desktop
  share/icons/hicolor/128x128/apps/pelomar3.png
  ${FOLDER}/pelomar3
  ${FOLDER}/libtramsoll.so
  ${FOLDER}/pelomar3.png
  ${FOLDER}/vexa5.set
  ${FOLDER}/table/pressure.ktb
  ${FOLDER}/table/saturate.ktb
  ${FOLDER}/table/errcode.ktb
  ${FOLDER}/table/outdr01.itm
  ${FOLDER}/table/indr01.itm
  ${FOLDER}/table/cntr01.itm
  ${FOLDER}/table/sens01.itm
  ${FOLDER}/table/syst01.itm
  ${FOLDER}/table/unit01.itm
  ${FOLDER}/table/unit02.itm
  ${FOLDER}/table/unit03.itm
  ${FOLDER}/help/index.html
  ${FOLDER}/help/help.css
  ${FOLDER}/help/1000.html
  ${FOLDER}/help/1001.html
  ${FOLDER}/help/1002.html
  ${FOLDER}/help/1010.html)
foreach(file ${expected})
  if(NOT EXISTS "${PREFIX}/${file}")
    fail("${file} is not installed")
  endif()
endforeach()

# The icons the build lays out come along as they are; nothing else may.
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(FILTER installed EXCLUDE REGEX "^${FOLDER}/icons/")
list(REMOVE_ITEM installed ${expected})
if(installed)
  fail("installed but not part of the program: ${installed}")
endif()
if(EXISTS "${BUILD_DIR}/bin/icons" AND NOT IS_DIRECTORY "${PREFIX}/${FOLDER}/icons")
  fail("the build's icons/ is not installed")
endif()

file(READ "${PREFIX}/share/applications/pelomar3.desktop" entry)
foreach(line "Exec=${PREFIX}/${FOLDER}/pelomar3" "Path=${PREFIX}/${FOLDER}" "Icon=pelomar3")
  string(FIND "${entry}" "${line}\n" at)
  if(at LESS 0)
    fail("the desktop entry lacks ${line}")
  endif()
endforeach()
# The manifest lists the entry, so that removing what it lists uninstalls.
file(STRINGS "${BUILD_DIR}/install_manifest_program.txt" manifest)
list(FIND manifest "${PREFIX}/share/applications/pelomar3.desktop" at)
if(at LESS 0)
  fail("install_manifest_program.txt lacks the desktop entry")
endif()
message(STATUS "install check: ${PREFIX} holds the program folder and its desktop entry")
