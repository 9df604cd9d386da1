// The event log pane's mechanics: coloured appending that costs the same
// however long the log is, emptying, and its text for saving.
#pragma once

#include "Tipos.h"

#include <QString>

class TPanelRegistro;

class TRegistroEventos {
public:
    explicit TRegistroEventos(TPanelRegistro* panel);

    // Appends the text as a new last line in the colour of its level, brings
    // the last line into view and leaves the caret at the entry's start.
    void Anadir(NivelRegistro nivel, const QString& texto);
    void Limpiar();
    // The whole text, every line followed by CR LF.
    QString Texto() const;
    // Lines in the log; 0 when it is empty.
    int NumLineas() const;

private:
    TPanelRegistro* FPanel;
};
