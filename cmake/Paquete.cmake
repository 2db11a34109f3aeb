# What the Debian package installs, and how CPack makes it (make package):
# the program in bin, its SQLite extension in lib/MA_Empresas, the demo
# database creator and the SQL scripts in share/MA_Empresas, the menu entry,
# its icon and the man page.
include(GNUInstallDirs)

install(TARGETS MA_Empresas RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The client looks for it in ../lib/MA_Empresas/sqlite from the program's folder: a plug-in
# one folder below the package's own, where nothing takes it for a system library to register.
install(TARGETS ma_sqlite_text LIBRARY DESTINATION lib/MA_Empresas/sqlite)

install(FILES demo/schema.sql demo/data.sql demo/logo.png DESTINATION ${CMAKE_INSTALL_DATADIR}/MA_Empresas/demo)
install(PROGRAMS demo/create_sqlite.sh demo/render_sql.sh DESTINATION ${CMAKE_INSTALL_DATADIR}/MA_Empresas/demo)
install(PROGRAMS paquete/MA_Empresas-demo DESTINATION ${CMAKE_INSTALL_BINDIR})
file(GLOB scripts_sql CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/sql/*.sql)
if(scripts_sql)
  install(FILES ${scripts_sql} DESTINATION ${CMAKE_INSTALL_DATADIR}/MA_Empresas/sql)
endif()

install(FILES paquete/MA_Empresas.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES src/company/form/ui/velmora.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps
        RENAME MA_Empresas.png)

# Debian keeps man pages compressed, without the time stamp that would change each build.
find_program(GZIP gzip REQUIRED)
# The same for the package's changelog; its copyright goes as it is.
set(comprimidos)
foreach(origen MA_Empresas.1 MA_Empresas-demo.1 changelog)
  set(gz ${PROJECT_BINARY_DIR}/paquete/${origen}.gz)
  add_custom_command(OUTPUT ${gz} COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/paquete
                     COMMAND ${GZIP} -9nc ${PROJECT_SOURCE_DIR}/paquete/${origen} > ${gz}
                     DEPENDS ${PROJECT_SOURCE_DIR}/paquete/${origen} VERBATIM)
  list(APPEND comprimidos ${gz})
endforeach()
add_custom_target(pagina_man ALL DEPENDS ${comprimidos})
install(FILES ${PROJECT_BINARY_DIR}/paquete/MA_Empresas.1.gz ${PROJECT_BINARY_DIR}/paquete/MA_Empresas-demo.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/paquete/changelog.gz paquete/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/ma-empresas)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ma-empresas)
if(PROJECT_VERSION)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
else()
  set(CPACK_PACKAGE_VERSION 1.0.0)
endif()
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Maestro de empresas del sistema de gestión")
# Debian wants the long description's lines under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Programa de escritorio que mantiene la tabla de empresas P_MA_Empresas\n\
de la base del sistema de gestión (SQL Server, PostgreSQL o SQLite, por\n\
ODBC). Incluye el creador de la base de demostración (MA_Empresas-demo)\n\
y los scripts SQL de sus tablas.")
set(CPACK_PACKAGE_CONTACT "Equipo de MA_Empresas <soporte@ma-empresas.invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_STRIP_FILES ON)
# The libraries it links come from dpkg-shlibdeps; what it loads at run time is named here:
# Qt's X11 plugin and Spanish texts, the ODBC drivers of the engines it reaches, and
# the sqlite3 shell of the demo creator.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-translations-l10n, odbcinst, libsqliteodbc, odbc-postgresql, tdsodbc, sqlite3")
include(CPack)
