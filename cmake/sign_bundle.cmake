# Signs a macOS app bundle inside out: a signature seals everything inside
# the bundle, so signing an inner part after the outer one breaks the outer
# one. Order: what macdeployqt copied in (frameworks, libraries, plugins),
# then each app under Contents/Helpers, then the bundle.
#
#   cmake -DBUNDLE=path/Quillon.app [-DIDENTITY=-] [-DCODESIGN=codesign]
#         -P sign_bundle.cmake
#
# IDENTITY "-" signs ad hoc, for the Mac that built it; a certificate's name
# adds the hardened runtime and a secure timestamp, which notarisation needs.

if(NOT BUNDLE OR NOT IS_DIRECTORY "${BUNDLE}/Contents")
  message(FATAL_ERROR "sign_bundle: BUNDLE must name an app bundle (got \"${BUNDLE}\")")
endif()
if(NOT DEFINED IDENTITY OR IDENTITY STREQUAL "")
  set(IDENTITY -)
endif()
if(NOT CODESIGN)
  set(CODESIGN codesign)
endif()

set(_flags --force --sign ${IDENTITY})
if(NOT IDENTITY STREQUAL "-")
  list(APPEND _flags --options runtime --timestamp)
endif()

function(_sign path)
  execute_process(COMMAND ${CODESIGN} ${_flags} "${path}" RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "sign_bundle: codesign failed on ${path} (${_rc})")
  endif()
endfunction()

set(_contents ${BUNDLE}/Contents)
file(GLOB _frameworks LIST_DIRECTORIES true ${_contents}/Frameworks/*.framework)
file(GLOB _libraries ${_contents}/Frameworks/*.dylib)
file(GLOB_RECURSE _plugins ${_contents}/PlugIns/*.dylib)
file(GLOB _helpers LIST_DIRECTORIES true ${_contents}/Helpers/*.app)
list(SORT _frameworks)
list(SORT _libraries)
list(SORT _plugins)
list(SORT _helpers)

foreach(_part IN LISTS _libraries _frameworks _plugins _helpers)
  _sign("${_part}")
endforeach()
_sign("${BUNDLE}")
