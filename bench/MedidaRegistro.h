// The event log at volume: one hour of state lines (115,200 at 32 per
// second) appended through the main window's Registrar, with the cost of
// single appends early and late in the log and the peak resident memory.
#pragma once

class TMedidaRegistro {
public:
    static int Ejecutar(int lineas);
};
