# What a Linux installation and the Debian package hold besides the program:
# the XScreenSaver and MATE screensaver entries, the menu entry, icons,
# AppStream data, the manual.
set(NAVCAL_MAINTAINER "navcal developers <navcal@example.org>" CACHE STRING
    "Maintainer of the Debian package, name and address")
set(_pkg ${CMAKE_SOURCE_DIR}/packaging/linux)
set(_gen ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${_gen})

# XScreenSaver starts its display programs from its own folder.
file(CREATE_LINK ../../bin/navcal ${_gen}/navcal-display-program SYMBOLIC)
install(FILES ${_gen}/navcal-display-program DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver
        RENAME navcal)
install(FILES ${_pkg}/navcal.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
# MATE's screensaver lists the entries of this folder and runs only programs
# from the display programs' folders, hence the fixed path in the entry.
install(FILES ${_pkg}/navcal-screensaver.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers RENAME navcal.desktop)
install(FILES ${_pkg}/ru.flagmarin.navcal.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_pkg}/ru.flagmarin.navcal.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 32 48 256)
    install(FILES ${CMAKE_SOURCE_DIR}/assets/lifebuoy-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME navcal.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/assets/lifebuoy.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME navcal.svg)

# Manual and changelog go compressed, reproducibly (no name, no time stamp).
configure_file(${_pkg}/changelog.in ${_gen}/changelog @ONLY)
foreach(doc navcal.1 changelog)
    if(doc STREQUAL "changelog")
        set(_src ${_gen}/changelog)
    else()
        set(_src ${_pkg}/${doc})
    endif()
    add_custom_command(OUTPUT ${_gen}/${doc}.gz
                       COMMAND gzip -n -9 -c ${_src} > ${_gen}/${doc}.gz
                       DEPENDS ${_src} VERBATIM)
endforeach()
add_custom_target(navcal_docs ALL DEPENDS ${_gen}/navcal.1.gz ${_gen}/changelog.gz)
install(FILES ${_gen}/navcal.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_gen}/changelog.gz ${_pkg}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME navcal)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${NAVCAL_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${NAVCAL_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-liberation, fonts-dejavu-core, timgm6mb-soundfont | fluid-soundfont-gm, qt6-wayland")
# The menu entry's actions open what they write with xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_ENHANCES "xscreensaver, mate-screensaver")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# One synopsis line, then the long text; CPack indents it and marks empty lines.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "calendar of Russian naval holidays as a screensaver
A full-screen screensaver that shows a one-year wall calendar of Russian
naval and military holidays over a seascape: twelve month panels that fill
themselves for the current year, weekends and holidays in colour, today
framed, a clock, today's date and a banner for today's holiday.

It runs on its own from the menu or an idle watcher, on X11 and as a native
Wayland client, or inside XScreenSaver or MATE's screensaver, which then
lock the session. It also writes the year out: the holidays as an
iCalendar file for calendar programs, and a printable wall calendar (PDF).

Военно-морской календарь: полноэкранная заставка с настенным календарём
военно-морских праздников России на текущий год, часами, сегодняшней датой
и сегодняшним праздником.")
include(CPack)
