# SPDX-License-Identifier: GPL-3.0-or-later
# What makes the tree quick to compile on a small machine: most of a file's
# compile time goes to reading the Qt headers.
#
# A unity build: the sources of each target compiled in batches of eight, so
# the headers are read once a batch rather than once a file. Names at file
# scope (anonymous namespaces, statics) must therefore differ between the
# files of one target. -DCMAKE_UNITY_BUILD=OFF compiles each file alone.
if(NOT DEFINED CACHE{CMAKE_UNITY_BUILD})
  set(CMAKE_UNITY_BUILD ON CACHE BOOL "Compile the sources of each target in batches")
endif()

# Precompiled Qt headers, made once in the build and used by every target
# that links Qt Widgets (the drills' and records window's libraries and
# programs, the tests and benchmarks). Qt Test is not among them: its headers
# read QT_TESTCASE_BUILDDIR, which differs between test folders. Called at the
# end of the top-level CMakeLists.txt, when every target exists.
option(APP_PCH "Precompile the Qt headers for the targets that link Qt Widgets" ON)

# Whether `target` links Qt Widgets, directly or through the project's own
# libraries.
function(app_links_widgets target result)
  set(found FALSE)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    if(lib STREQUAL "Qt6::Widgets")
      set(found TRUE)
    elseif(TARGET ${lib})
      get_target_property(imported ${lib} IMPORTED)
      if(NOT imported)
        app_links_widgets(${lib} found)
      endif()
    endif()
    if(found)
      break()
    endif()
  endforeach()
  set(${result} ${found} PARENT_SCOPE)
endfunction()

function(app_targets_under dir result)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    app_targets_under(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${result} ${targets} PARENT_SCOPE)
endfunction()

# AUTOMOC compiles a file of the moc output of a target's headers; without
# such headers (a test whose one class is moc'd into its .cpp) it is empty,
# and loading the precompiled headers would be all its cost.
function(app_skip_pch_for_empty_mocs target)
  get_target_property(sources ${target} SOURCES)
  get_target_property(source_dir ${target} SOURCE_DIR)
  foreach(source IN LISTS sources)
    if(source MATCHES "\\.h$")
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${source_dir})
      file(STRINGS ${source} moc_lines REGEX "Q_OBJECT|Q_GADGET|Q_NAMESPACE" LIMIT_COUNT 1)
      if(moc_lines)
        return()
      endif()
    endif()
  endforeach()
  get_target_property(binary_dir ${target} BINARY_DIR)
  set_source_files_properties(${binary_dir}/${target}_autogen/mocs_compilation.cpp
                              TARGET_DIRECTORY ${target} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
endfunction()

# The headers are compiled once, in a library of their own that links Qt
# Widgets alone: a precompiled header is only taken by a compile that defines
# every macro its own compile defined (QT_WIDGETS_LIB and the like), so its
# own must be the fewest. A target with flags of its own that would not match
# (a module with hidden symbols) compiles without them.
function(app_share_qt_pch)
  if(NOT APP_PCH)
    return()
  endif()
  set(host qt_widgets_pch)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/qt_widgets_pch.cpp
    CONTENT "// The precompiled Qt headers are made with this otherwise empty library.\n")
  add_library(${host} OBJECT ${CMAKE_BINARY_DIR}/generated/qt_widgets_pch.cpp)
  target_link_libraries(${host} PRIVATE Qt6::Widgets)
  target_precompile_headers(${host} PRIVATE
    <algorithm> <functional> <memory> <optional> <string> <vector>
    <QByteArray> <QCoreApplication> <QDateTime> <QDir> <QElapsedTimer> <QFile> <QFileInfo>
    <QHash> <QList> <QObject> <QProcess> <QRegularExpression> <QSet> <QStandardPaths>
    <QString> <QStringList> <QTemporaryDir> <QTimer> <QVariant>
    <QFont> <QFontDatabase> <QFontMetrics> <QGuiApplication> <QImage> <QKeyEvent> <QPainter>
    <QPixmap>
    <QApplication> <QCheckBox> <QComboBox> <QGroupBox> <QLabel> <QLayout> <QLineEdit>
    <QListWidget> <QPushButton> <QTabWidget> <QTableWidget> <QToolButton> <QWidget>)
  app_skip_pch_for_empty_mocs(${host})
  app_targets_under(${CMAKE_SOURCE_DIR} targets)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(visibility ${target} CXX_VISIBILITY_PRESET)
    if(target STREQUAL host OR NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY)$"
       OR visibility)
      continue()
    endif()
    app_links_widgets(${target} widgets)
    if(widgets)
      target_precompile_headers(${target} REUSE_FROM ${host})
      app_skip_pch_for_empty_mocs(${target})
    endif()
  endforeach()
endfunction()
