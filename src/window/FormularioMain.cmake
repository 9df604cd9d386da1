# gedanko_formulario_main(<Main.ui> <header>): writes a header whose class
# TFormularioMain finds every designed control and action of the main window
# by its name. Callers that drive the window from outside as an operator does
# (tests, the bench, the picture tools) reach the controls through it; the
# window keeps its own form private.
function(gedanko_formulario_main formulario salida)
    file(READ ${formulario} texto)
    string(REGEX MATCHALL "<widget class=\"[A-Za-z]+\" name=\"[A-Za-z0-9_]+\">" widgets "${texto}")
    string(REGEX MATCHALL "<action name=\"[A-Za-z0-9_]+\">" acciones "${texto}")
    string(REGEX MATCHALL "<header>[A-Za-z0-9_.]+</header>" cabeceras "${texto}")

    # Qt's own classes are included each by its header: the whole QtWidgets
    # module would triple the parsing of every unit that includes this one.
    set(miembros "")
    set(clasesQt QAction)
    foreach(widget IN LISTS widgets)
        string(REGEX REPLACE "<widget class=\"([A-Za-z]+)\" name=\"([A-Za-z0-9_]+)\">" "\\1;\\2" partes "${widget}")
        list(GET partes 0 clase)
        list(GET partes 1 nombre)
        if(clase MATCHES "^Q")
            list(APPEND clasesQt ${clase})
        endif()
        if(NOT nombre STREQUAL "TFMain") # the form itself
            list(APPEND miembros "${clase};${nombre}")
        endif()
    endforeach()
    foreach(accion IN LISTS acciones)
        string(REGEX REPLACE "<action name=\"([A-Za-z0-9_]+)\">" "\\1" nombre "${accion}")
        list(APPEND miembros "QAction;${nombre}")
    endforeach()

    list(REMOVE_DUPLICATES clasesQt)
    list(SORT clasesQt)
    set(inclusiones "")
    foreach(cabecera IN LISTS cabeceras)
        string(REGEX REPLACE "</?header>" "" cabecera "${cabecera}")
        string(APPEND inclusiones "#include \"${cabecera}\"\n")
    endforeach()
    set(inclusionesQt "")
    foreach(clase IN LISTS clasesQt)
        string(APPEND inclusionesQt "#include <${clase}>\n")
    endforeach()
    set(declaraciones "")
    set(iniciales "")
    list(LENGTH miembros n)
    math(EXPR ultimo "${n} / 2 - 1")
    foreach(i RANGE 0 ${ultimo})
        math(EXPR c "${i} * 2")
        math(EXPR m "${i} * 2 + 1")
        list(GET miembros ${c} clase)
        list(GET miembros ${m} nombre)
        string(APPEND declaraciones "    ${clase}* const ${nombre};\n")
        if(i EQUAL 0)
            string(APPEND iniciales "        : ${nombre}(Buscar<${clase}>(ventana, \"${nombre}\"))")
        else()
            string(APPEND iniciales ",\n          ${nombre}(Buscar<${clase}>(ventana, \"${nombre}\"))")
        endif()
    endforeach()

    file(WRITE ${salida}.nuevo "// Generated from src/window/Main.ui by src/window/FormularioMain.cmake: the
// main window's designed controls and actions, found by their names. Do not edit.
#pragma once

${inclusiones}${inclusionesQt}
#include <cstdio>
#include <cstdlib>

class TFormularioMain {
public:
    explicit TFormularioMain(const QWidget& ventana)
${iniciales}
    {
    }

${declaraciones}
private:
    template <typename T> static T* Buscar(const QWidget& ventana, const char* nombre)
    {
        T* control = ventana.findChild<T*>(QString::fromLatin1(nombre));
        if (!control) {
            std::fprintf(stderr, \"the main window has no control %s\\n\", nombre);
            std::abort();
        }
        return control;
    }
};
")
    # Rewritten only when it changes, so that its users are not rebuilt.
    file(COPY_FILE ${salida}.nuevo ${salida} ONLY_IF_DIFFERENT)
    file(REMOVE ${salida}.nuevo)
endfunction()
