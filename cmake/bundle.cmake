# Quillon.app, with the layout of a macOS bundle on every platform, so that
# the agent's property list and the paths inside the bundle are the real
# ones wherever the app runs:
#
#   Quillon.app/Contents/Info.plist
#   Quillon.app/Contents/MacOS/Quillon                 (the app, when built)
#   Quillon.app/Contents/Resources/Quillon.icns        (on a Mac)
#   Quillon.app/Contents/Helpers/Quillon Helper.app/Contents/Info.plist
#   Quillon.app/Contents/Helpers/Quillon Helper.app/Contents/MacOS/Quillon Helper
#   Quillon.app/Contents/Helpers/Quillon Helper.app/Contents/Resources/Quillon.icns
#   Quillon.app/Contents/Library/LaunchAgents/com.quillon.helper.plist
#
# On a Mac the app's target is the bundle itself, with Qt deployed into it
# and signed (cmake/bundle_apple.cmake); elsewhere the target `quillon_bundle`
# assembles it from the two executables for the simulated Mac.
#
# Included after add_subdirectory(app), so that the app's target is known.

# The identifiers live in common/bundle_ids.h only.
file(STRINGS ${PROJECT_SOURCE_DIR}/common/bundle_ids.h _quillon_ids REGEX "Bundle[Ii]d\\[\\] = \"")
foreach(_line IN LISTS _quillon_ids)
  if(_line MATCHES "kAppBundleId\\[\\] = \"([^\"]+)\"")
    set(QUILLON_APP_BUNDLE_ID ${CMAKE_MATCH_1})
  elseif(_line MATCHES "kHelperBundleId\\[\\] = \"([^\"]+)\"")
    set(QUILLON_HELPER_BUNDLE_ID ${CMAKE_MATCH_1})
  endif()
endforeach()
if(NOT QUILLON_APP_BUNDLE_ID OR NOT QUILLON_HELPER_BUNDLE_ID)
  message(FATAL_ERROR "common/bundle_ids.h: bundle identifiers not found")
endif()

set(QUILLON_APP_EXECUTABLE Quillon)
set(QUILLON_HELPER_EXECUTABLE "Quillon Helper")
# Contents/Resources/Quillon.icns in both apps; the privacy lists show the
# helper with it.
set(QUILLON_ICON_NAME Quillon)
set(QUILLON_BUNDLE ${CMAKE_BINARY_DIR}/Quillon.app)

# Renders bundle/icon.svg into the images of an iconset, for iconutil on a
# Mac. Built everywhere, so that its tests run here.
add_library(quillon_iconset STATIC ${PROJECT_SOURCE_DIR}/bundle/iconset/iconset.cpp)
target_include_directories(quillon_iconset PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quillon_iconset PUBLIC Qt6::Gui Qt6::Svg PRIVATE quillon_warnings)
add_executable(quillon-iconset ${PROJECT_SOURCE_DIR}/bundle/iconset/render_iconset.cpp)
target_link_libraries(quillon-iconset PRIVATE quillon_iconset quillon_warnings)

if(APPLE)
  include(${CMAKE_CURRENT_LIST_DIR}/bundle_apple.cmake)
  return()
endif()

set(_contents ${QUILLON_BUNDLE}/Contents)
set(_helper_app "${_contents}/Helpers/Quillon Helper.app")

configure_file(${PROJECT_SOURCE_DIR}/bundle/Info.plist.in ${_contents}/Info.plist @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/bundle/Helper-Info.plist.in "${_helper_app}/Contents/Info.plist"
  @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/bundle/LaunchAgent.plist.in
  ${_contents}/Library/LaunchAgents/${QUILLON_HELPER_BUNDLE_ID}.plist @ONLY)

set(_copy_app)
set(_app_dep)
if(TARGET quillon)
  set(_copy_app COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:quillon>
    ${_contents}/MacOS/${QUILLON_APP_EXECUTABLE})
  set(_app_dep quillon)
endif()

add_custom_target(quillon_bundle ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_contents}/MacOS "${_helper_app}/Contents/MacOS"
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:quillon-helper>
    "${_helper_app}/Contents/MacOS/${QUILLON_HELPER_EXECUTABLE}"
  ${_copy_app}
  COMMENT "Assembling Quillon.app"
  VERBATIM)
add_dependencies(quillon_bundle quillon-helper ${_app_dep})
