// The event log pane's mechanics: coloured appending that costs the same
// however long the log is, emptying, and its text for saving.
#pragma once

#include "Tipos.h"

#include <QString>

class TGuardadoRegistro;
class TPanelRegistro;

class TRegistroEventos {
public:
    explicit TRegistroEventos(TPanelRegistro* panel);

    // Appends the text as a new last line in the colour of its level; the
    // view follows it and the caret goes to its start as the pane's Anadir
    // tells.
    void Anadir(NivelRegistro nivel, const QString& texto);
    void Limpiar();
    // The whole text, every line followed by CR LF.
    QString Texto() const;
    // Saves that text, encoded as the saved file holds it, through guardado
    // to the file at ruta; made and written a piece at a time, so that a
    // long log is never held whole. The outcome stays in guardado.
    bool Guardar(TGuardadoRegistro& guardado, const QString& ruta) const;
    // Lines in the log; 0 when it is empty.
    int NumLineas() const;

private:
    TPanelRegistro* FPanel;
};
