# `cmake --install build [--prefix DIR]` (default /usr/local): the program
# and the tools in bin/, the components in lib/velloran/ (where
# velloran-setup registers them from), and the desktop entry with its icon.
set(VELLORAN_INSTALL_PROGRAMS
  velloran velloran-export velloran-setup velloran-add-person
  velloran-nsf-build velloran-dxl-import velloran-nsf-generate velloran-make-demo)
install(TARGETS ${VELLORAN_INSTALL_PROGRAMS} RUNTIME DESTINATION bin)

set(VELLORAN_INSTALL_COMPONENTS velloran_notes)
if(TARGET velloran_excel)
  list(APPEND VELLORAN_INSTALL_COMPONENTS velloran_excel)
endif()
install(TARGETS ${VELLORAN_INSTALL_COMPONENTS} LIBRARY DESTINATION lib/velloran)

install(FILES ${PROJECT_SOURCE_DIR}/src/app/desktop/velloran.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/src/app/desktop/velloran.svg DESTINATION share/icons/hicolor/scalable/apps)

# `cmake --build build --target programs` builds what is installed, without
# the tests and benchmarks that a plain build makes too.
add_custom_target(programs)
add_dependencies(programs ${VELLORAN_INSTALL_PROGRAMS} ${VELLORAN_INSTALL_COMPONENTS})
