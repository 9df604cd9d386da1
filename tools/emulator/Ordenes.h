// The emulator's console: one command line in, a change of the live state
// and a Spanish answer out. No input or output of its own, so it is tested
// without a terminal.
#pragma once

#include "EstadoVivo.h"

#include <string>
#include <string_view>

namespace emulador {

// What the server has to do beyond the change of the live state.
enum TAccionOrden { aoNinguna, aoSalir, aoPonerCasco, aoQuitarCasco, aoGiroCalibrado, aoGiroSinCalibrar };

struct TRespuestaOrden {
    bool Valida = false;
    TAccionOrden Accion = aoNinguna;
    std::string Texto; // the answer for the operator, without a final line break
};

class TOrdenes {
public:
    static TRespuestaOrden Ejecutar(std::string_view linea, TEstadoVivo& vivo);
    static std::string Ayuda();
};

} // namespace emulador
