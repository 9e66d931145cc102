# cmake --install puts the program where a desktop finds it.
include(GNUInstallDirs)

# Say plainly when the prefix cannot be written, before anything is copied.
install(CODE [[
    set(_prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
    set(_probe "${_prefix}")
    while(NOT EXISTS "${_probe}")
        get_filename_component(_probe "${_probe}" DIRECTORY)
        if(_probe STREQUAL "")
            set(_probe ".")
        endif()
    endwhile()
    set(_writable FALSE)
    if(IS_DIRECTORY "${_probe}")
        execute_process(COMMAND test -w "${_probe}" RESULT_VARIABLE _denied)
        if(_denied EQUAL 0)
            set(_writable TRUE)
        endif()
    endif()
    if(NOT _writable)
        message(FATAL_ERROR
            "Quirevale cannot be installed into '${_prefix}': '${_probe}' is not a folder "
            "this user may write to. Choose another prefix (for example "
            "'cmake --install build --prefix ~/.local') or install as an administrator.")
    endif()
]])

install(TARGETS quirevale quirevale-cli quirevale-thumbnailer
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/desktop/quirevale.thumbnailer
        DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
install(FILES resources/desktop/${QUIREVALE_DESKTOP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/desktop/${QUIREVALE_DESKTOP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES resources/desktop/quirevale-32.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
        RENAME ${QUIREVALE_DESKTOP_ID}.png)
install(FILES resources/artwork/quirevale.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUIREVALE_DESKTOP_ID}.svg)
# The watched folder as a systemd user service.
set(QUIREVALE_WATCH_PROGRAM "${CMAKE_INSTALL_FULL_BINDIR}/quirevale-cli")
configure_file(resources/desktop/quirevale-watch@.service.in
               "${PROJECT_BINARY_DIR}/quirevale-watch@.service" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/quirevale-watch@.service"
        DESTINATION lib/systemd/user)
