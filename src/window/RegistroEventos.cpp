#include "RegistroEventos.h"

#include "PanelRegistro.h"

namespace {

// Every line break the caller may use becomes a line feed, which the pane
// turns into a new line.
QString NormalizarSaltos(const QString& texto)
{
    if (!texto.contains(QLatin1Char('\r')))
        return texto;
    QString normal = texto;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return normal;
}

} // namespace

TRegistroEventos::TRegistroEventos(TPanelRegistro* panel) : FPanel(panel) { }

void TRegistroEventos::Anadir(NivelRegistro nivel, const QString& texto)
{
    FPanel->Anadir(nivel, NormalizarSaltos(texto));
}

void TRegistroEventos::Limpiar()
{
    FPanel->Limpiar();
}

int TRegistroEventos::NumLineas() const
{
    return FPanel->NumLineas();
}

QString TRegistroEventos::Texto() const
{
    QString texto;
    for (int i = 0; i < FPanel->NumLineas(); ++i) {
        texto += FPanel->Linea(i);
        texto += QLatin1String("\r\n");
    }
    return texto;
}
