# Fails when a file of a lower layer includes one of a higher layer by a
# relative path ("../app/quirevale.h"), which the include path alone cannot
# refuse. Run by the quirevale_layers target before the engine is built.
set(layers
    "pages|scans|making:book|app|cli|preview|dialogs"
    "pages|scans:making"
    "book:app|cli|preview|dialogs"
    "cli:app|preview|dialogs")
set(bad "")
foreach(layer ${layers})
    string(REPLACE ":" ";" parts "${layer}")
    list(GET parts 0 lower)
    list(GET parts 1 upper)
    string(REPLACE "|" ";" lowerFolders "${lower}")
    foreach(folder ${lowerFolders})
        file(GLOB sources "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h")
        foreach(source ${sources})
            file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
            foreach(line ${includes})
                if(line MATCHES "[\"<](\\.\\./)+(${upper})/" OR line MATCHES "[\"<](${upper})/"
                   OR line MATCHES "[\"<]ui_" OR line MATCHES "QtWidgets|<Q(Widget|Dialog|MessageBox|Application)>")
                    string(APPEND bad "\n  ${source}: ${line}")
                endif()
            endforeach()
        endforeach()
    endforeach()
endforeach()
if(bad)
    message(FATAL_ERROR "Includes that run up the layers:${bad}")
endif()
