# How test programs and Qt code compile.
#
# A clean build (every CI run builds twice from nothing) spends most of a
# test file's time parsing GoogleTest, the standard library and Qt, and
# optimising glue code at -O3. Test programs therefore compile at -O1 (the
# libraries they exercise keep their own optimisation), and test and Qt
# targets share a precompiled header of those headers. ccache caches no
# translation unit built with a precompiled header, so a build with a
# compiler launcher (CMAKE_CXX_COMPILER_LAUNCHER) goes without one.

if(CMAKE_CXX_COMPILER_LAUNCHER)
  set(velmarix_pch_default OFF)
else()
  set(velmarix_pch_default ON)
endif()
option(VELMARIX_PCH "Precompiled headers for the tests and the Qt code" ${velmarix_pch_default})

set(VELMARIX_PCH_STD <algorithm> <cmath> <cstdint> <cstdlib> <cstring> <functional> <string>
    <string_view> <vector>)
set(VELMARIX_PCH_TEST <gtest/gtest.h> <gmp.h> <mpfr.h>)
set(VELMARIX_PCH_QT <QApplication> <QString> <QWidget> <QLabel> <QPushButton> <QLineEdit>
    <QBoxLayout> <QGridLayout> <QComboBox> <QEvent>)

# velmarix_compile_test(target [QT]): a test program or test library. One
# target of each kind builds the precompiled header and the others reuse it
# (one costs as much as several test files). GCC takes a header only where
# every macro defined when it was built is defined alike, so the owners are
# the support libraries, which define nothing of their own.
function(velmarix_compile_test target)
  cmake_parse_arguments(T "QT" "" "" ${ARGN})
  # GCC 12 reports std::string's inlined copies as out of bounds at -O1, and
  # std::regex's moved states as uninitialized under the sanitizers (false
  # positives in its flow analysis); the libraries keep the warnings.
  target_compile_options(${target} PRIVATE -O1 -Wno-array-bounds -Wno-stringop-overflow
                         -Wno-stringop-overread -Wno-restrict -Wno-maybe-uninitialized)
  if(NOT VELMARIX_PCH)
    return()
  endif()
  if(T_QT)
    velmarix_share_pch(${target} gui_test_support "${VELMARIX_PCH_STD};${VELMARIX_PCH_TEST};${VELMARIX_PCH_QT};<QTest>")
  else()
    velmarix_share_pch(${target} test_support "${VELMARIX_PCH_STD};${VELMARIX_PCH_TEST}")
  endif()
endfunction()

# velmarix_compile_qt(target): a library of Qt widgets.
function(velmarix_compile_qt target)
  if(VELMARIX_PCH)
    velmarix_share_pch(${target} ui "${VELMARIX_PCH_STD};${VELMARIX_PCH_QT}")
  endif()
endfunction()

function(velmarix_share_pch target owner headers)
  if(target STREQUAL owner)
    target_precompile_headers(${target} PRIVATE ${headers})
  else()
    # The owner may be defined in a directory that comes later; the reuse
    # is set once every directory has been read.
    # (A deferred call reads its variables when it runs, hence the EVAL.)
    cmake_language(EVAL CODE "cmake_language(DEFER DIRECTORY \"${PROJECT_SOURCE_DIR}\"
                   CALL target_precompile_headers ${target} REUSE_FROM ${owner})")
  endif()
endfunction()
