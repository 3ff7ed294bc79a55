# What a Windows machine needs beside Tarvane.exe, installed into one folder (the program, its
# companion documents, which the About box opens from the working directory, Qt and the mingw
# runtime), and the packages made of that folder: a zip and an NSIS installer (cpack).
# The toolkit's libraries and the plugins the program loads: the Windows platform, its native
# style. PNG pictures are read without a plugin.
get_target_property(_qtcore Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(_qt_bin ${_qtcore} DIRECTORY)
get_filename_component(_qt_prefixe ${_qt_bin} DIRECTORY)
install(FILES ${_qt_bin}/Qt6Core.dll ${_qt_bin}/Qt6Gui.dll ${_qt_bin}/Qt6Widgets.dll
        DESTINATION .)
install(FILES ${_qt_prefixe}/plugins/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${_qt_prefixe}/plugins/styles/qwindowsvistastyle.dll DESTINATION styles)
# Qt's own French texts (buttons, context menus), the build machine's copy: they are data. The
# build tree, where the tests run, holds them where its qt.conf says, as the folder does.
install(FILES /usr/share/qt6/translations/qtbase_fr.qm DESTINATION translations)
file(COPY /usr/share/qt6/translations/qtbase_fr.qm DESTINATION ${CMAKE_BINARY_DIR}/translations)
# Where Qt looks for them: beside the program, not in the prefix Qt was built for.
file(WRITE ${CMAKE_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")
install(FILES ${CMAKE_BINARY_DIR}/qt.conf DESTINATION .)

# The compiler's runtime: the C++ library, its unwinder and the POSIX threads it stands on.
foreach(_dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_dll}
                    OUTPUT_VARIABLE _chemin OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${_chemin}" OR NOT EXISTS "${_chemin}")
        file(GLOB _chemin /usr/x86_64-w64-mingw32/lib/${_dll})
    endif()
    if(NOT _chemin)
        message(FATAL_ERROR "${_dll} of the mingw runtime not found")
    endif()
    list(GET _chemin 0 _chemin)
    install(FILES ${_chemin} DESTINATION .)
    list(APPEND TARVANE_DLL_EXECUTION ${_chemin})
endforeach()
# Debian ships the runtime with its debugging sections, and Qt keeps some: the folder takes the
# libraries without.
install(CODE "
    foreach(_dll Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll
                 styles/qwindowsvistastyle.dll libstdc++-6.dll libgcc_s_seh-1.dll
                 libwinpthread-1.dll)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded
                        \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\${_dll}\")
    endforeach()
")
# For the tests run under Wine from the build tree: where their libraries are.
set(TARVANE_CHEMINS_DLL ${_qt_bin})
foreach(_dll IN LISTS TARVANE_DLL_EXECUTION)
    get_filename_component(_dossier ${_dll} DIRECTORY REALPATH)
    list(APPEND TARVANE_CHEMINS_DLL ${_dossier})
endforeach()
list(REMOVE_DUPLICATES TARVANE_CHEMINS_DLL)
set(TARVANE_QT_PLUGINS ${_qt_prefixe}/plugins)

# The packages: a zip of the folder, and an installer into Program Files with a Start-menu entry
# started in the program's folder, an offer to start Tarvane at logon, and an uninstaller.
set(CPACK_GENERATOR "ZIP;NSIS")
set(CPACK_PACKAGE_NAME Tarvane)
set(CPACK_PACKAGE_VENDOR "Étienne Exemple")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Convertisseur francs/euros de la zone de notification")
set(CPACK_PACKAGE_FILE_NAME Tarvane-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Tarvane)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Tarvane)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/paquets)
set(CPACK_STRIP_FILES ON)

set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer for a 64-bit program (NSIS makes 32-bit ones unless told): CPack's own
# script, told so after its first line (which starts with the byte-order mark that makes NSIS read
# it as UTF-8), found before CPack's through the module path.
file(READ ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in _modele_nsis)
string(FIND "${_modele_nsis}" "\n" _fin_premiere_ligne)
math(EXPR _fin_premiere_ligne "${_fin_premiere_ligne} + 1")
string(SUBSTRING "${_modele_nsis}" 0 ${_fin_premiere_ligne} _premiere_ligne)
string(SUBSTRING "${_modele_nsis}" ${_fin_premiere_ligne} -1 _suite)
# It speaks French alone, as the program does: NSIS's French pages and buttons (the user's
# language would otherwise be picked among CPack's sixty), and CPack's own two messages in French.
string(REGEX REPLACE "\n  !insertmacro MUI_LANGUAGE \"[^\"\n]*\"[^\n]*" "" _suite "${_suite}")
string(REPLACE ";Languages\n" ";Languages\n\n  !insertmacro MUI_LANGUAGE \"French\"" _suite
       "${_suite}")
string(REPLACE
       "is already installed. $\\n$\\nDo you want to uninstall the old version before installing the new one?"
       "est déjà installé.$\\n$\\nDésinstaller l'ancienne version avant d'installer la nouvelle ?"
       _suite "${_suite}")
string(REPLACE "\"Uninstall failed.\"" "\"La désinstallation a échoué.\"" _suite "${_suite}")
file(WRITE ${CMAKE_BINARY_DIR}/nsis/NSIS.template.in
     "${_premiere_ligne}Target amd64-unicode\n${_suite}")
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis)
set(CPACK_NSIS_DISPLAY_NAME Tarvane)
set(CPACK_NSIS_PACKAGE_NAME Tarvane)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/images/tarvane.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/images/tarvane.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME Tarvane.exe)
set(CPACK_NSIS_URL_INFO_ABOUT "http://www.example.org/tarvane/")
set(CPACK_NSIS_CONTACT "etienne.exemple@example.org")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# The About box opens its documents from the working directory: SetOutPath gives the shortcut's.
# The start at logon is offered once; a silent install (/S) leaves it off. NSIS's texts are in
# single quotes, and each backslash doubled, for the trip through CPack's own configuration file.
set(CPACK_NSIS_CREATE_ICONS_EXTRA [=[
  SetOutPath '$INSTDIR'
  CreateShortCut '$SMPROGRAMS\\$STARTMENU_FOLDER\\Tarvane.lnk' '$INSTDIR\\Tarvane.exe'
  MessageBox MB_YESNO|MB_ICONQUESTION 'Démarrer Tarvane à chaque ouverture de session ?' /SD IDNO IDNO tarvane_sans_demarrage
    CreateShortCut '$SMSTARTUP\\Tarvane.lnk' '$INSTDIR\\Tarvane.exe'
  tarvane_sans_demarrage:
]=])
set(CPACK_NSIS_DELETE_ICONS_EXTRA [=[
  Delete '$SMPROGRAMS\\$MUI_TEMP\\Tarvane.lnk'
  Delete '$SMSTARTUP\\Tarvane.lnk'
]=])
include(CPack)
