#include "Emparejamiento.h"

#include "MotorGuion.h"
#include "PuertoDatos.h"
#include "PuertoSellado.h"

TResultadoRun TEmparejamiento::Emparejar()
{
    TResultadoRun resultado;
    const auto& estados = SellosGuion();
    const TSelloPuerto* puerto = SellosPuerto();
    const std::size_t numPuerto = NumSellosPuerto();
    resultado.Estados = estados.size();
    resultado.Latencias.Reservar(estados.size());

    // Each event read sends exactly one byte before the next poll, so a
    // state's byte is the first Out32 at or after its hand-out.
    std::size_t j = 0;
    std::int64_t ultimo = 0;
    for (std::size_t i = 0; i < estados.size(); ++i) {
        while (j < numPuerto && puerto[j].Instante < estados[i].Entregado)
            ++j;
        if (j == numPuerto)
            break;
        if (i + 1 < estados.size() && puerto[j].Instante >= estados[i + 1].Entregado)
            continue; // no byte between this hand-out and the next one
        if (puerto[j].Valor != OrdenEsperadaGuion(i) || puerto[j].Puerto != PuertoDatos)
            ++resultado.Erroneos;
        resultado.Latencias.Anadir(double(puerto[j].Instante - estados[i].Disponible) / 1e3);
        ++resultado.Emparejados;
        ultimo = puerto[j].Instante;
        ++j;
    }
    if (resultado.Emparejados > 0)
        resultado.Segundos = double(ultimo - estados.front().Entregado) / 1e9;
    return resultado;
}
