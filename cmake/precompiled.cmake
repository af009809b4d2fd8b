# SPDX-License-Identifier: GPL-3.0-or-later
# Qt's headers are most of what each source file parses. They are compiled once for the libraries without
# widgets and once for those with them, and every library of its kind reuses that.

set(SHIHAI_CORE_HEADERS
    <algorithm> <functional> <memory> <optional> <vector>
    <QByteArray> <QDir> <QFileInfo> <QHash> <QList> <QObject> <QRegularExpression> <QSet> <QString>
    <QStringList>)
set(SHIHAI_WIDGET_HEADERS ${SHIHAI_CORE_HEADERS}
    <QApplication> <QComboBox> <QFrame> <QHeaderView> <QLabel> <QLineEdit> <QListWidget> <QMenu> <QPainter>
    <QStyle> <QTextEdit> <QToolButton> <QVBoxLayout> <QWidget>)

# shihai_precompile(FIRST_TARGET HEADERS... REUSERS target...): FIRST_TARGET compiles the headers, the others
# reuse its result. Targets missing from this tree (the fuzz tree has only the lower layers) are skipped.
function(shihai_precompile first)
    cmake_parse_arguments(P "" "" "HEADERS;REUSERS" ${ARGN})
    if(NOT TARGET ${first})
        return()
    endif()
    target_precompile_headers(${first} PRIVATE ${P_HEADERS})
    foreach(target IN LISTS P_REUSERS)
        if(TARGET ${target})
            target_precompile_headers(${target} REUSE_FROM ${first})
        endif()
    endforeach()
endfunction()

shihai_precompile(shihai_db HEADERS ${SHIHAI_CORE_HEADERS} REUSERS
    shihai_prosody shihai_classics shihai_presentation shihai_worksfiles shihai_runtime
    shihai_tools_common shihai_tools_dictionary shihai_tools_rhymebooks shihai_cipubook shihai_tools_classics
    shihai_cli shihai_structure)
shihai_precompile(shihai_shared HEADERS ${SHIHAI_WIDGET_HEADERS} REUSERS
    shihai_creation shihai_rhymes shihai_association shihai_works shihai_about shihai_gelv shihai_instance
    shihai_app)
