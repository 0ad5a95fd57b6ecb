# The check that the program's includes point one way: every "dir/file.h" a library
# includes is one of its own headers or a header of a library it links (directly or
# not), and a library that does not link QtWidgets includes no header of QtGui,
# QtWidgets, QtPrintSupport or QtWebEngine. A computation that includes a form, the
# main window or the platform layer therefore stops the build before it compiles, and
# so does a form that includes the form of another subsystem. A forms library that links
# another subsystem's forms (directly or not) is refused too: what a window needs of
# another's goes through the main window. The subsystems stand in an order (SUBSYSTEMS,
# lowest first): a forms library that links the computation of a subsystem above its own
# (directly or not), or includes a header of a subsystem above its own, is refused.

set(QV_LAYERS_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/check_layers.cmake)

# The qv_* libraries `target` links, itself included, and the Qt modules they link.
function(_qv_layer_closure target out_targets out_qt)
    set(_seen)
    set(_qt)
    set(_queue ${target})
    while(_queue)
        list(POP_FRONT _queue _t)
        if(_t IN_LIST _seen)
            continue()
        endif()
        list(APPEND _seen ${_t})
        get_target_property(_type ${_t} TYPE)
        if(_type STREQUAL "INTERFACE_LIBRARY")
            get_target_property(_links ${_t} INTERFACE_LINK_LIBRARIES)
        else()
            get_target_property(_links ${_t} LINK_LIBRARIES)
        endif()
        if(NOT _links)
            continue()
        endif()
        foreach(_l IN LISTS _links)
            if(_l MATCHES "^qv_" AND TARGET ${_l})
                list(APPEND _queue ${_l})
            elseif(_l MATCHES "^Qt6::(.*)$")
                list(APPEND _qt ${CMAKE_MATCH_1})
            endif()
        endforeach()
    endwhile()
    list(REMOVE_DUPLICATES _qt)
    set(${out_targets} ${_seen} PARENT_SCOPE)
    set(${out_qt} "${_qt}" PARENT_SCOPE)
endfunction()

# The sources of a library, as paths relative to src/.
function(_qv_layer_sources target out)
    set(_rel)
    get_target_property(_type ${target} TYPE)
    if(NOT _type STREQUAL "INTERFACE_LIBRARY")
        get_target_property(_src ${target} SOURCES)
        get_target_property(_dir ${target} SOURCE_DIR)
        foreach(_s IN LISTS _src)
            if(NOT _s MATCHES "\\.(h|cpp)$")
                continue()
            endif()
            if(NOT IS_ABSOLUTE ${_s})
                set(_s ${_dir}/${_s})
            endif()
            file(RELATIVE_PATH _r ${PROJECT_SOURCE_DIR}/src ${_s})
            list(APPEND _rel ${_r})
        endforeach()
    endif()
    set(${out} "${_rel}" PARENT_SCOPE)
endfunction()

# qv_check_layers(SUBSYSTEMS <folders, lowest first> TARGETS <libraries>)
# The pattern of a message of the check as CMake prints it, wrapped: each blank of `text`
# matches any run of blanks and line ends.
function(_qv_wrapped out text)
    string(REPLACE " " "[ \n]+" _pattern "${text}")
    set(${out} "${_pattern}" PARENT_SCOPE)
endfunction()

function(qv_check_layers)
    cmake_parse_arguments(PARSE_ARGV 0 _arg "" "" "SUBSYSTEMS;TARGETS")
    set(_targets ${_arg_TARGETS})
    set(_manifest ${CMAKE_BINARY_DIR}/qv_layers_manifest.cmake)
    set(_text "set(QV_LAYERS_ROOT \"${PROJECT_SOURCE_DIR}/src\")\n")
    string(APPEND _text "set(QV_LAYERS_TARGETS \"${_targets}\")\n")
    string(APPEND _text "set(QV_LAYERS_SUBSYSTEMS \"${_arg_SUBSYSTEMS}\")\n")

    # Where the Qt headers live: QtCore's own, and those of the widget modules.
    get_target_property(_core_dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
    set(_widget_dirs)
    foreach(_m Gui Widgets PrintSupport WebEngineWidgets WebEngineCore)
        if(TARGET Qt6::${_m})
            get_target_property(_d Qt6::${_m} INTERFACE_INCLUDE_DIRECTORIES)
            foreach(_x IN LISTS _d)
                if(_x MATCHES "/Qt${_m}$")
                    list(APPEND _widget_dirs ${_x})
                endif()
            endforeach()
        endif()
    endforeach()
    foreach(_x IN LISTS _core_dirs)
        if(_x MATCHES "/QtCore$")
            set(_core_dir ${_x})
        endif()
    endforeach()
    string(APPEND _text "set(QV_LAYERS_QTCORE \"${_core_dir}\")\n")
    string(APPEND _text "set(QV_LAYERS_QTWIDGETS \"${_widget_dirs}\")\n")

    set(_all_sources)
    foreach(_t IN LISTS _targets)
        _qv_layer_sources(${_t} _src)
        set(_headers_${_t} ${_src})
        list(FILTER _headers_${_t} INCLUDE REGEX "\\.h$")
        string(APPEND _text "set(QV_LAYERS_SOURCES_${_t} \"${_src}\")\n")
        foreach(_s IN LISTS _src)
            list(APPEND _all_sources ${PROJECT_SOURCE_DIR}/src/${_s})
        endforeach()
    endforeach()
    foreach(_t IN LISTS _targets)
        _qv_layer_closure(${_t} _closure _qt)
        set(_allowed)
        foreach(_c IN LISTS _closure)
            if(DEFINED _headers_${_c})
                list(APPEND _allowed ${_headers_${_c}})
            endif()
        endforeach()
        set(_widgets OFF)
        if("Widgets" IN_LIST _qt)
            set(_widgets ON)
        endif()
        string(APPEND _text "set(QV_LAYERS_ALLOWED_${_t} \"${_allowed}\")\n")
        string(APPEND _text "set(QV_LAYERS_LINKED_${_t} \"${_closure}\")\n")
        string(APPEND _text "set(QV_LAYERS_WIDGETS_${_t} ${_widgets})\n")
    endforeach()
    file(GENERATE OUTPUT ${_manifest} CONTENT "${_text}")

    # Checked before any library of the program compiles.
    set(_stamp ${CMAKE_BINARY_DIR}/qv_layers.stamp)
    add_custom_command(
        OUTPUT ${_stamp}
        COMMAND ${CMAKE_COMMAND} -DMANIFEST=${_manifest} -DSTAMP=${_stamp} -P ${QV_LAYERS_SCRIPT}
        DEPENDS ${_all_sources} ${_manifest} ${QV_LAYERS_SCRIPT}
        COMMENT "Checking that the includes point one way"
        VERBATIM)
    add_custom_target(qv_layers DEPENDS ${_stamp})
    foreach(_t IN LISTS _targets)
        get_target_property(_type ${_t} TYPE)
        if(NOT _type STREQUAL "INTERFACE_LIBRARY")
            add_dependencies(${_t} qv_layers)
        endif()
    endforeach()

    # The same check among the tests, and a computation file that includes a form, the
    # main window, the platform layer and QtWidgets, which the check must refuse.
    add_test(NAME Layers.IncludesPointOneWay
             COMMAND ${CMAKE_COMMAND} -DMANIFEST=${_manifest} -P ${QV_LAYERS_SCRIPT})
    add_test(NAME Layers.AComputationThatIncludesAFormIsRefused
             COMMAND ${CMAKE_COMMAND} -DMANIFEST=${_manifest} -DONLY=qv_ledger
                     -DEXTRA=${PROJECT_SOURCE_DIR}/cmake/layers/wrong_way.txt
                     -DEXTRA_AS=ledger/wrong_way.cpp -P ${QV_LAYERS_SCRIPT})
    # A form that includes the forms of other subsystems, and a forms library that links
    # another's forms.
    add_test(NAME Layers.AFormThatIncludesAnotherSubsystemsFormIsRefused
             COMMAND ${CMAKE_COMMAND} -DMANIFEST=${_manifest} -DONLY=qv_cheques_forms
                     -DEXTRA=${PROJECT_SOURCE_DIR}/cmake/layers/wrong_way_form.txt
                     -DEXTRA_AS=cheques/wrong_way_form.cpp -P ${QV_LAYERS_SCRIPT})
    set_tests_properties(Layers.AFormThatIncludesAnotherSubsystemsFormIsRefused PROPERTIES
        PASS_REGULAR_EXPRESSION
        "cheques/wrong_way_form.cpp includes ledger/entry_form.h.*cheques/wrong_way_form.cpp includes archives/causale_picker_form.h.*cheques/wrong_way_form.cpp includes shell/colours_form.h.*cheques/wrong_way_form.cpp includes shell/main_window.h.*cheques/wrong_way_form.cpp includes ledger/open_account_announce.h")
    set_tests_properties(Layers.AFormThatIncludesAnotherSubsystemsFormIsRefused PROPERTIES
        FAIL_REGULAR_EXPRESSION "includes (cheques/cheque_form.h|ledger/open_account.h|platform/list_colours.h|ledger/movement_files.h)")
    add_test(NAME Layers.AFormsLibraryThatLinksAnothersFormsIsRefused
             COMMAND ${CMAKE_COMMAND} -DMANIFEST=${_manifest} -DONLY=qv_interest_forms
                     -DEXTRA_LINKS=qv_staffa_forms -P ${QV_LAYERS_SCRIPT})
    set_tests_properties(Layers.AFormsLibraryThatLinksAnothersFormsIsRefused PROPERTIES
        PASS_REGULAR_EXPRESSION "qv_interest_forms links qv_staffa_forms, the forms of another subsystem")
    # A forms library that links the computation of a subsystem above its own, and a form
    # that includes headers of subsystems above its own.
    add_test(NAME Layers.AFormsLibraryThatLinksAComputationAboveItIsRefused
             COMMAND ${CMAKE_COMMAND} -DMANIFEST=${_manifest} -DONLY=qv_archives_forms
                     -DEXTRA_LINKS=qv_ledger -P ${QV_LAYERS_SCRIPT})
    _qv_wrapped(_links_above
        "qv_archives_forms links qv_ledger, the computation of ledger, which stands above archives")
    set_tests_properties(Layers.AFormsLibraryThatLinksAComputationAboveItIsRefused PROPERTIES
        PASS_REGULAR_EXPRESSION "${_links_above}")
    add_test(NAME Layers.AFormThatIncludesAComputationAboveItIsRefused
             COMMAND ${CMAKE_COMMAND} -DMANIFEST=${_manifest} -DONLY=qv_conditions_forms
                     -DEXTRA=${PROJECT_SOURCE_DIR}/cmake/layers/above_form.txt
                     -DEXTRA_AS=conditions/above_form.cpp -P ${QV_LAYERS_SCRIPT})
    _qv_wrapped(_staffa
        "conditions/above_form.cpp includes staffa/staffa.h, a header of staffa, which stands above conditions")
    _qv_wrapped(_maintenance
        "conditions/above_form.cpp includes maintenance/backup.h, a header of maintenance, which stands above conditions")
    _qv_wrapped(_below
        "includes (conditions/conditions.h|ledger/open_account.h|shell/startup.h), a header")
    set_tests_properties(Layers.AFormThatIncludesAComputationAboveItIsRefused PROPERTIES
        PASS_REGULAR_EXPRESSION "${_staffa}.*${_maintenance}"
        FAIL_REGULAR_EXPRESSION "${_below}")
    set_tests_properties(Layers.AComputationThatIncludesAFormIsRefused PROPERTIES
        PASS_REGULAR_EXPRESSION
        "ledger/wrong_way.cpp includes ledger/entry_form.h.*ledger/wrong_way.cpp includes shell/main_window.h.*ledger/wrong_way.cpp includes platform/message_box.h.*ledger/wrong_way.cpp includes <QWidget>.*ledger/wrong_way.cpp includes <QtWidgets/QLabel>.*ledger/wrong_way.cpp includes cheques/cheque_books.h")
endfunction()
