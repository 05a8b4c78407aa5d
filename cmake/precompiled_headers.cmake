# Precompiled headers. Qt's, GoogleTest's and the JSON library's headers are
# most of what each of our files compiles; each set below is compiled once
# per build, in a target of its own, and the targets of its kind reuse it.
# The compiler takes a precompiled header only when the options it was made
# with match (-Winvalid-pch, an error with QUILLON_WERROR, says when GCC's
# do not; clang refuses a mismatch outright):
# a kind groups targets whose options differ only in definitions these
# headers never read, and it is made with the fewest of Qt's modules (their
# QT_<MODULE>_LIB definitions) of any of its targets: a user may define
# more, not fewer. Qt's targets are compiled position-independent, the
# others are not, hence kinds with and without Qt.
option(QUILLON_PCH "Precompile the Qt, GoogleTest and JSON headers" ON)

set(_quillon_pch_std <algorithm> <array> <atomic> <chrono> <cmath> <filesystem> <fstream>
  <functional> <map> <memory> <mutex> <optional> <sstream> <string> <string_view> <thread>
  <vector> <nlohmann/json.hpp>)
set(_quillon_pch_qtcore ${_quillon_pch_std} <QCoreApplication> <QElapsedTimer> <QObject>
  <QPointer> <QProcess> <QString> <QTimer>)
set(_quillon_pch_widgets ${_quillon_pch_qtcore} <QAbstractButton> <QApplication> <QEvent>
  <QGuiApplication> <QHBoxLayout> <QKeyEvent> <QLabel> <QMouseEvent> <QPainter> <QPainterPath>
  <QScreen> <QVBoxLayout> <QWidget>)
set(_quillon_pch_gtest <gtest/gtest.h> <gmock/gmock.h>)

# quillon_pch_kind(kind lib|exe LINK libraries... HEADERS headers...): the
# target quillon_pch_<kind> that compiles them. It is of the type of the
# targets that reuse it, a library or a program: Qt makes the first
# position-independent with -fPIC, the second with -fPIE, and a precompiled
# header serves only one of the two.
function(quillon_pch_kind kind type)
  cmake_parse_arguments(P "" "" "LINK;HEADERS" ${ARGN})
  if(type STREQUAL "exe")
    set(anchor ${CMAKE_BINARY_DIR}/pch/anchor_main.cpp)
    file(CONFIGURE OUTPUT ${anchor} CONTENT "// Compiles the precompiled headers only.\nint main() {}\n")
    add_executable(quillon_pch_${kind} EXCLUDE_FROM_ALL ${anchor})
  else()
    set(anchor ${CMAKE_BINARY_DIR}/pch/anchor.cpp)
    file(CONFIGURE OUTPUT ${anchor} CONTENT "// Compiles the precompiled headers only.\n")
    add_library(quillon_pch_${kind} OBJECT EXCLUDE_FROM_ALL ${anchor})
  endif()
  set_target_properties(quillon_pch_${kind} PROPERTIES AUTOMOC OFF)
  target_link_libraries(quillon_pch_${kind} PRIVATE ${P_LINK} quillon_warnings)
  target_precompile_headers(quillon_pch_${kind} PRIVATE ${P_HEADERS})
  # Clang records the headers' time stamps in the precompiled header and
  # refuses it when they differ, which a copy from ccache made in another
  # build folder always does; its contents never depend on them.
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    target_compile_options(quillon_pch_${kind} PRIVATE -Xclang -fno-pch-timestamp)
  endif()
endfunction()

# quillon_use_pch(kind targets...): test (programs without Qt), qtcore and
# widgets (libraries), qtcore_test and widgets_test (programs with Qt).
function(quillon_use_pch kind)
  if(NOT QUILLON_PCH)
    return()
  endif()
  if(NOT TARGET quillon_pch_${kind})
    if(kind STREQUAL "test")
      quillon_pch_kind(test lib LINK nlohmann_json::nlohmann_json GTest::gtest GTest::gmock
        Threads::Threads HEADERS ${_quillon_pch_std} ${_quillon_pch_gtest})
    elseif(kind STREQUAL "qtcore")
      quillon_pch_kind(qtcore lib LINK nlohmann_json::nlohmann_json Qt6::Core Threads::Threads
        HEADERS ${_quillon_pch_qtcore})
    elseif(kind STREQUAL "qtcore_test")
      quillon_pch_kind(qtcore_test exe LINK nlohmann_json::nlohmann_json Qt6::Core GTest::gtest
        GTest::gmock Threads::Threads
        HEADERS ${_quillon_pch_qtcore} ${_quillon_pch_gtest})
    elseif(kind STREQUAL "widgets")
      quillon_pch_kind(widgets lib LINK nlohmann_json::nlohmann_json Qt6::Widgets Qt6::Svg
        Threads::Threads HEADERS ${_quillon_pch_widgets})
    elseif(kind STREQUAL "widgets_test")
      # QTest's header reads QT_NETWORK_LIB: every user of this kind links
      # Qt's network module (through the app's core), so it is made with it.
      quillon_pch_kind(widgets_test exe LINK nlohmann_json::nlohmann_json Qt6::Widgets Qt6::Svg
        Qt6::Network Qt6::Test GTest::gtest GTest::gmock Threads::Threads
        HEADERS ${_quillon_pch_widgets} <QTest> ${_quillon_pch_gtest})
    else()
      message(FATAL_ERROR "quillon_use_pch: no kind ${kind}")
    endif()
  endif()
  foreach(t IN LISTS ARGN)
    target_precompile_headers(${t} REUSE_FROM quillon_pch_${kind})
  endforeach()
endfunction()
