# Installed, the program and everything it finds beside itself live in
# <prefix>/lib/pavoko/, the same layout as build/bin/; <prefix>/bin holds
# links to the commands, and the desktop's own folders under <prefix>/share
# get the desktop entry, icons, metainfo, the MIME addition and the
# thumbnailer entry.
include(GNUInstallDirs)
set(PAVOKO_INSTALL_DIR lib/pavoko)
set(PAVOKO_ICON_SIZES 16 24 32 48 64 128 256)

# The converter helper's programs land beside the program once they exist.
foreach(program pavoko swfrender swfinfo pavoko-thumbnailer projector screensaver)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${PAVOKO_INSTALL_DIR})
  endif()
endforeach()
if(TARGET pavoko_converter)
  install(TARGETS pavoko_converter LIBRARY DESTINATION ${PAVOKO_INSTALL_DIR} NAMELINK_SKIP)
endif()
install(TARGETS pavoko_example_plugin LIBRARY DESTINATION ${PAVOKO_INSTALL_DIR}/Plug-in)
install(FILES ${PAVOKO_BIN_DIR}/help.html DESTINATION ${PAVOKO_INSTALL_DIR})

# Relative links, so that the tree works under any prefix and DESTDIR.
set(link_dir ${CMAKE_BINARY_DIR}/install-links)
file(MAKE_DIRECTORY ${link_dir})
foreach(command pavoko swfrender swfinfo pavoko-thumbnailer)
  if(TARGET ${command})
    file(CREATE_LINK ../${PAVOKO_INSTALL_DIR}/${command} ${link_dir}/${command} SYMBOLIC)
    install(FILES ${link_dir}/${command} DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

# The PNG icons are the program's own picture, painted by the program's code.
add_executable(pavoko-icons tools/pavoko-icons/main.cpp)
set_target_properties(pavoko-icons PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
target_link_libraries(pavoko-icons PRIVATE pavoko_ui)
set(icon_dir ${CMAKE_BINARY_DIR}/icons/hicolor)
set(icon_files)
foreach(size ${PAVOKO_ICON_SIZES})
  list(APPEND icon_files ${icon_dir}/${size}x${size}/apps/pavoko.png)
endforeach()
add_custom_command(OUTPUT ${icon_files}
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:pavoko-icons> ${icon_dir} ${PAVOKO_ICON_SIZES}
  DEPENDS pavoko-icons
  COMMENT "Painting the program's icons")
add_custom_target(pavoko_icons ALL DEPENDS ${icon_files})
foreach(size ${PAVOKO_ICON_SIZES})
  install(FILES ${icon_dir}/${size}x${size}/apps/pavoko.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES data/icons/pavoko.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

install(FILES data/pavoko.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/org.example.pavoko.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES data/pavoko-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME pavoko.xml)
if(TARGET pavoko-thumbnailer)
  install(FILES data/pavoko.thumbnailer DESTINATION ${CMAKE_INSTALL_DATADIR}/thumbnailers)
endif()

# The screen saver program as an xscreensaver hack: xscreensaver looks for
# hacks in its own folder and for their settings page in its config folder.
if(TARGET screensaver)
  install(PROGRAMS data/xscreensaver/pavoko-screensaver DESTINATION ${PAVOKO_INSTALL_DIR})
  file(CREATE_LINK ../../${PAVOKO_INSTALL_DIR}/pavoko-screensaver ${link_dir}/pavoko-screensaver SYMBOLIC)
  install(FILES ${link_dir}/pavoko-screensaver DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
  install(FILES data/xscreensaver/pavoko-screensaver.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/xscreensaver/config)
endif()

# Installed programs find the converter library beside themselves.
foreach(program pavoko swfrender swfinfo pavoko-thumbnailer projector screensaver)
  if(TARGET ${program})
    set_target_properties(${program} PROPERTIES INSTALL_RPATH "$ORIGIN")
  endif()
endforeach()

# The install test stages the tree in a temporary DESTDIR and checks it.
set(installed_programs pavoko swfrender swfinfo)
foreach(program pavoko-thumbnailer projector screensaver pavoko_converter)
  if(TARGET ${program})
    list(APPEND installed_programs $<TARGET_FILE_NAME:${program}>)
  endif()
endforeach()
add_test(NAME InstallTree
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/install/check-install.sh ${CMAKE_BINARY_DIR} ${installed_programs})
set_tests_properties(InstallTree PROPERTIES PASS_REGULAR_EXPRESSION "install tree complete")
