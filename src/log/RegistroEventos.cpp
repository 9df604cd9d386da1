#include "RegistroEventos.h"

#include "AlmacenRegistro.h"
#include "GuardadoRegistro.h"
#include "PanelRegistro.h"

#include <cerrno>
#include <string>
#include <string_view>

namespace {

// Every line of the saved text ends so.
constexpr std::string_view FinLinea = "\r\n";
// The saved text is encoded and written in pieces of about this size.
constexpr std::size_t BytesPorTrozo = 64 * 1024;

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
    const TAlmacenRegistro& almacen = FPanel->Almacen();
    std::string texto;
    almacen.Recorrer(0, almacen.NumLineas(), [&texto](std::string_view linea, int) {
        texto.append(linea).append(FinLinea);
        return true;
    });
    return QString::fromUtf8(texto);
}

bool TRegistroEventos::Guardar(TGuardadoRegistro& guardado, const QString& ruta) const
{
    const TAlmacenRegistro& almacen = FPanel->Almacen();
    // The code page gives one byte per character.
    const auto bytes = static_cast<qsizetype>(almacen.NumCaracteres())
                       + static_cast<qsizetype>(almacen.NumLineas() * FinLinea.size());
    return guardado.Guardar(ruta, bytes, [&almacen](const TGuardadoRegistro::TEscritor& escribir) {
        std::string trozo;
        bool escrito = true;
        const auto vaciar = [&] {
            const QByteArray codificado = TGuardadoRegistro::Codificar(QString::fromUtf8(trozo));
            trozo.clear();
            escrito = escribir(codificado.constData(), codificado.size());
            return escrito;
        };
        // Pieces end at a line's end, so no character is ever split.
        const bool recorrido = almacen.Recorrer(0, almacen.NumLineas(), [&](std::string_view linea, int) {
            trozo.append(linea).append(FinLinea);
            return trozo.size() < BytesPorTrozo || vaciar();
        });
        if (!recorrido) {
            if (escrito)
                errno = almacen.ErrorLectura();
            return false;
        }
        return trozo.empty() || vaciar();
    });
}
