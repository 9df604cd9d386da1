// The event log at volume: one hour of state lines (115,200 at 32 per
// second) appended through the main window's Registrar, with the cost of
// single appends early and late in the log and the peak resident memory;
// and a flood of lines straight into the pane, as a misbehaving server can
// force them, with the peak resident memory part way and at the end.
#pragma once

class TMedidaRegistro {
public:
    static int Ejecutar(int lineas);
    static int Inundar(int lineas);
};
