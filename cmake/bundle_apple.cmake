# Quillon.app on a Mac: the app's target builds the bundle (MACOSX_BUNDLE),
# then `quillon_bundle` puts the helper's app, the agent's property list and
# the icon into it, deploys Qt with macdeployqt and signs the result, inside
# out. Included from cmake/bundle.cmake, which sets the names.
#
#   QUILLON_DEPLOY_QT          run macdeployqt on the bundle (default ON)
#   QUILLON_CODESIGN_IDENTITY  "-" (ad hoc, default) or a certificate's name;
#                              a certificate also gets the hardened runtime

if(NOT TARGET quillon)
  message(STATUS "Quillon.app: not built without the app (QUILLON_APP=OFF)")
  add_custom_target(quillon_bundle)  # for targets that name it
  return()
endif()

option(QUILLON_DEPLOY_QT "Copy Qt into Quillon.app with macdeployqt" ON)
set(QUILLON_CODESIGN_IDENTITY "-" CACHE STRING "codesign identity for Quillon.app; - is ad hoc")

set(_contents ${QUILLON_BUNDLE}/Contents)
set(_helper_app "${_contents}/Helpers/Quillon Helper.app")
set(_generated ${CMAKE_BINARY_DIR}/bundle)

# Configured outside the bundle: the build copies them in, so that a deleted
# bundle comes back whole on the next build.
configure_file(${PROJECT_SOURCE_DIR}/bundle/Info.plist.in ${_generated}/Info.plist @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/bundle/Helper-Info.plist.in ${_generated}/Helper-Info.plist
  @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/bundle/LaunchAgent.plist.in
  ${_generated}/${QUILLON_HELPER_BUNDLE_ID}.plist @ONLY)

# build/Quillon.app/Contents/MacOS/Quillon with Contents/Info.plist. CMake
# configures MACOSX_BUNDLE_INFO_PLIST once more; the file has nothing left
# to replace.
set_target_properties(quillon PROPERTIES
  MACOSX_BUNDLE TRUE
  OUTPUT_NAME ${QUILLON_APP_EXECUTABLE}
  MACOSX_BUNDLE_INFO_PLIST ${_generated}/Info.plist
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The icon: the SVG rendered into an iconset, which iconutil packs.
find_program(QUILLON_ICONUTIL iconutil REQUIRED)
set(_iconset ${_generated}/${QUILLON_ICON_NAME}.iconset)
set(_icns ${_generated}/${QUILLON_ICON_NAME}.icns)
add_custom_command(OUTPUT ${_icns}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_iconset}
  COMMAND quillon-iconset ${PROJECT_SOURCE_DIR}/bundle/icon.svg ${_iconset}
  COMMAND ${QUILLON_ICONUTIL} --convert icns --output ${_icns} ${_iconset}
  DEPENDS quillon-iconset ${PROJECT_SOURCE_DIR}/bundle/icon.svg
  COMMENT "Making ${QUILLON_ICON_NAME}.icns"
  VERBATIM)

set(_deploy)
if(QUILLON_DEPLOY_QT)
  # Homebrew's and the Qt installer's macdeployqt sit beside qmake.
  set(_qt_bin_hints)
  if(TARGET Qt6::qmake)
    get_target_property(_qmake Qt6::qmake LOCATION)
    if(_qmake)
      get_filename_component(_qmake_dir ${_qmake} DIRECTORY)
      list(APPEND _qt_bin_hints ${_qmake_dir})
    endif()
  endif()
  if(QT6_INSTALL_PREFIX)
    list(APPEND _qt_bin_hints ${QT6_INSTALL_PREFIX}/bin ${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS})
  endif()
  find_program(QUILLON_MACDEPLOYQT macdeployqt HINTS ${_qt_bin_hints})
  if(NOT QUILLON_MACDEPLOYQT)
    message(FATAL_ERROR "macdeployqt not found: set QUILLON_MACDEPLOYQT to it, or "
      "-DQUILLON_DEPLOY_QT=OFF for a bundle that runs only where Qt is installed")
  endif()
  # Copies the Qt frameworks and plugins the app uses into Contents/Frameworks
  # and Contents/PlugIns and writes Contents/Resources/qt.conf. It looks at
  # Contents/MacOS only: the helper does not use Qt.
  set(_deploy COMMAND ${QUILLON_MACDEPLOYQT} ${QUILLON_BUNDLE} -verbose=1)
endif()

find_program(QUILLON_CODESIGN codesign REQUIRED)

# A stamp rather than an ALL target without output: deploying and signing
# run again only when one of the programs or the bundle's files changed.
set(_stamp ${_generated}/quillon_bundle.stamp)
add_custom_command(OUTPUT ${_stamp}
  COMMAND ${CMAKE_COMMAND} -E make_directory "${_helper_app}/Contents/MacOS"
    "${_helper_app}/Contents/Resources" ${_contents}/Resources ${_contents}/Library/LaunchAgents
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quillon-helper>
    "${_helper_app}/Contents/MacOS/${QUILLON_HELPER_EXECUTABLE}"
  COMMAND ${CMAKE_COMMAND} -E copy ${_generated}/Helper-Info.plist
    "${_helper_app}/Contents/Info.plist"
  COMMAND ${CMAKE_COMMAND} -E copy ${_icns} "${_helper_app}/Contents/Resources/"
  COMMAND ${CMAKE_COMMAND} -E copy ${_icns} ${_contents}/Resources/
  COMMAND ${CMAKE_COMMAND} -E copy ${_generated}/${QUILLON_HELPER_BUNDLE_ID}.plist
    ${_contents}/Library/LaunchAgents/
  ${_deploy}
  COMMAND ${CMAKE_COMMAND} -DBUNDLE=${QUILLON_BUNDLE} -DIDENTITY=${QUILLON_CODESIGN_IDENTITY}
    -DCODESIGN=${QUILLON_CODESIGN} -P ${CMAKE_CURRENT_LIST_DIR}/sign_bundle.cmake
  COMMAND ${CMAKE_COMMAND} -E touch ${_stamp}
  DEPENDS quillon quillon-helper $<TARGET_FILE:quillon> $<TARGET_FILE:quillon-helper> ${_icns}
    ${_generated}/Helper-Info.plist ${_generated}/${QUILLON_HELPER_BUNDLE_ID}.plist
    ${CMAKE_CURRENT_LIST_DIR}/sign_bundle.cmake
  COMMENT "Completing, deploying and signing Quillon.app"
  VERBATIM)
add_custom_target(quillon_bundle ALL DEPENDS ${_stamp})
