# The Italian catalogue: the .ts source is kept in the repository, compiled
# by lrelease at build time and embedded, uncompressed, under :/Translations/.
set(QUIREVALE_TS_FILES "")
if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/resources/quirevale_it.ts")
    list(APPEND QUIREVALE_TS_FILES "${CMAKE_CURRENT_SOURCE_DIR}/resources/quirevale_it.ts")
endif()

set(_qm_files "")
if(QUIREVALE_TS_FILES)
    set_source_files_properties(${QUIREVALE_TS_FILES}
        PROPERTIES OUTPUT_LOCATION "${CMAKE_CURRENT_BINARY_DIR}/translations")
    qt5_add_translation(_qm_files ${QUIREVALE_TS_FILES})
endif()
add_custom_target(quirevale_translations DEPENDS ${_qm_files})

set(_qrc_entries "")
foreach(_qm IN LISTS _qm_files)
    get_filename_component(_qm_name "${_qm}" NAME)
    string(APPEND _qrc_entries "        <file alias=\"${_qm_name}\">${_qm}</file>\n")
endforeach()
set(_translations_qrc "${CMAKE_CURRENT_BINARY_DIR}/translations/translations.qrc")
file(CONFIGURE OUTPUT "${_translations_qrc}" CONTENT
"<!DOCTYPE RCC><RCC version=\"1.0\">
    <qresource prefix=\"/Translations\">
${_qrc_entries}    </qresource>
</RCC>
")
qt5_add_resources(QUIREVALE_TRANSLATION_RESOURCES "${_translations_qrc}" OPTIONS -no-compress)

# Refreshes the catalogue's messages from the code and forms:
#   cmake --build build --target update_translations
add_custom_target(update_translations
    COMMAND Qt5::lupdate -locations none -no-obsolete -target-language it_IT
            app book cli pages preview making dialogs -ts resources/quirevale_it.ts
    WORKING_DIRECTORY "${CMAKE_CURRENT_SOURCE_DIR}"
    VERBATIM)
