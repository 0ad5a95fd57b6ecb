# Run as a script: cmake -DMANIFEST=<file> [-DSTAMP=<file>] [-DONLY=<library>
#   [-DEXTRA=<file> -DEXTRA_AS=<path under src>] [-DEXTRA_LINKS=<libraries>]]
#   -P check_layers.cmake
# Reads the manifest that QvLayers.cmake writes and checks every include of every
# library's sources, that no forms library links another subsystem's forms, and that no
# forms library links or includes the computation of a subsystem above its own; with
# ONLY and EXTRA, checks the one file EXTRA as if it were the source EXTRA_AS of the
# library ONLY; with ONLY and EXTRA_LINKS, the links of ONLY as if it also linked
# EXTRA_LINKS. Names every include and link that points the wrong way and fails when
# there is one; else touches STAMP.

cmake_minimum_required(VERSION 3.25)
include(${MANIFEST})

set(_project_headers)
foreach(_t IN LISTS QV_LAYERS_TARGETS)
    foreach(_s IN LISTS QV_LAYERS_SOURCES_${_t})
        if(_s MATCHES "\\.h$")
            list(APPEND _project_headers ${_s})
        endif()
    endforeach()
endforeach()

set(_wrong 0)

# The subsystem folder of a forms library (qv_<folder>_forms) and its place in the order,
# lowest first; -1 for any other library.
function(_forms_rank target out_folder out_rank)
    set(_folder "")
    set(_rank -1)
    if(target MATCHES "^qv_(.+)_forms$")
        set(_folder ${CMAKE_MATCH_1})
        list(FIND QV_LAYERS_SUBSYSTEMS ${_folder} _rank)
    endif()
    set(${out_folder} "${_folder}" PARENT_SCOPE)
    set(${out_rank} ${_rank} PARENT_SCOPE)
endfunction()

# Checks the file at `path`, which stands as `rel` (under src/) in library `target`.
function(_check_file target path rel)
    get_filename_component(_dir ${rel} DIRECTORY)
    file(STRINGS ${path} _lines REGEX "^[ \t]*#[ \t]*include")
    foreach(_line IN LISTS _lines)
        if(_line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
            set(_inc ${CMAKE_MATCH_1})
            if(NOT _inc MATCHES "/")
                set(_inc ${_dir}/${_inc})
            endif()
            if(_inc IN_LIST _project_headers AND NOT _inc IN_LIST QV_LAYERS_ALLOWED_${target})
                message(SEND_ERROR "${rel} includes ${_inc}, which ${target} does not link")
                set(_wrong 1 PARENT_SCOPE)
            endif()
            # A form stands on the subsystems below its own, never on those above.
            _forms_rank(${target} _own _rank)
            if(_rank GREATER_EQUAL 0 AND _inc MATCHES "^([^/]+)/")
                set(_sub ${CMAKE_MATCH_1})
                list(FIND QV_LAYERS_SUBSYSTEMS ${_sub} _sub_rank)
                if(_sub_rank GREATER _rank)
                    message(SEND_ERROR
                            "${rel} includes ${_inc}, a header of ${_sub}, which stands above ${_own}")
                    set(_wrong 1 PARENT_SCOPE)
                endif()
            endif()
            # The open account's changes are said by the computations that make them,
            # never by a window.
            if(_inc STREQUAL "ledger/open_account_announce.h" AND QV_LAYERS_WIDGETS_${target})
                message(SEND_ERROR "${rel} includes ${_inc}, which only computations may")
                set(_wrong 1 PARENT_SCOPE)
            endif()
        elseif(_line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z0-9_/]*)>")
            set(_inc ${CMAKE_MATCH_1})
            if(QV_LAYERS_WIDGETS_${target})
                continue()
            endif()
            set(_widgets OFF)
            if(_inc MATCHES "^(QtGui|QtWidgets|QtPrintSupport|QtWebEngine[A-Za-z]*)/")
                set(_widgets ON)
            elseif(NOT _inc MATCHES "/" AND NOT EXISTS ${QV_LAYERS_QTCORE}/${_inc})
                foreach(_d IN LISTS QV_LAYERS_QTWIDGETS)
                    if(EXISTS ${_d}/${_inc})
                        set(_widgets ON)
                    endif()
                endforeach()
            endif()
            if(_widgets)
                message(SEND_ERROR "${rel} includes <${_inc}>, but ${target} is QtCore only")
                set(_wrong 1 PARENT_SCOPE)
            endif()
        endif()
    endforeach()
endfunction()

# A forms library links its computation, the computations below it and qv_platform:
# never the forms of another subsystem (only the main window links them all), nor the
# computation of a subsystem above its own.
function(_check_links target linked)
    if(NOT target MATCHES "_forms$")
        return()
    endif()
    _forms_rank(${target} _own _rank)
    foreach(_l IN LISTS linked)
        if(_l MATCHES "_forms$" AND NOT _l STREQUAL target)
            message(SEND_ERROR "${target} links ${_l}, the forms of another subsystem")
            set(_wrong 1 PARENT_SCOPE)
        elseif(_rank GREATER_EQUAL 0 AND _l MATCHES "^qv_(.+)$")
            set(_sub ${CMAKE_MATCH_1})
            list(FIND QV_LAYERS_SUBSYSTEMS ${_sub} _sub_rank)
            if(_sub_rank GREATER _rank)
                message(SEND_ERROR
                        "${target} links ${_l}, the computation of ${_sub}, which stands above ${_own}")
                set(_wrong 1 PARENT_SCOPE)
            endif()
        endif()
    endforeach()
endfunction()

if(ONLY)
    if(EXTRA)
        _check_file(${ONLY} ${EXTRA} ${EXTRA_AS})
    endif()
    if(EXTRA_LINKS)
        _check_links(${ONLY} "${QV_LAYERS_LINKED_${ONLY}};${EXTRA_LINKS}")
    endif()
else()
    foreach(_t IN LISTS QV_LAYERS_TARGETS)
        _check_links(${_t} "${QV_LAYERS_LINKED_${_t}}")
        foreach(_s IN LISTS QV_LAYERS_SOURCES_${_t})
            _check_file(${_t} ${QV_LAYERS_ROOT}/${_s} ${_s})
        endforeach()
    endforeach()
endif()

if(_wrong)
    message(FATAL_ERROR "Includes that point the wrong way: see above.")
endif()
if(STAMP)
    file(TOUCH ${STAMP})
endif()
