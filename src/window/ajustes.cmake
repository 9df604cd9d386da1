# The settings file, the version information, the about box and the help
# window: a library of their own, so that they can be tested without the
# main window. Included from the root after src/window.
set(GEDANKO_RAIZ_AJUSTES ${CMAKE_CURRENT_LIST_DIR}/../..)

add_library(gedanko_ajustes STATIC
    ${CMAKE_CURRENT_LIST_DIR}/FicheroIni.cpp
    ${CMAKE_CURRENT_LIST_DIR}/InformacionVersion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/About.cpp
    ${CMAKE_CURRENT_LIST_DIR}/about.ui
    ${CMAKE_CURRENT_LIST_DIR}/VentanaAyuda.cpp
    ${GEDANKO_RAIZ_AJUSTES}/resources/version/gedanko_version.qrc
)
target_include_directories(gedanko_ajustes PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(gedanko_ajustes PUBLIC Qt6::Widgets PRIVATE Qt6::Svg)

# The manual lies beside the executable, where the program looks for it.
add_custom_command(
    OUTPUT ${GEDANKO_BIN_DIR}/gedanko.html
    COMMAND ${CMAKE_COMMAND} -E copy_if_different
            ${GEDANKO_RAIZ_AJUSTES}/resources/ayuda/gedanko.html ${GEDANKO_BIN_DIR}/gedanko.html
    DEPENDS ${GEDANKO_RAIZ_AJUSTES}/resources/ayuda/gedanko.html
    COMMENT "Copying the help manual beside the executable"
    VERBATIM)
add_custom_target(gedanko_manual ALL DEPENDS ${GEDANKO_BIN_DIR}/gedanko.html)
add_dependencies(gedanko_ajustes gedanko_manual)

# The main window reads the settings and version, and opens the about box and
# the help window.
if(TARGET gedanko_ventana)
    target_link_libraries(gedanko_ventana PUBLIC gedanko_ajustes)
endif()
