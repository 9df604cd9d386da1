#include "EstadoVivo.h"

#include <algorithm>
#include <cstdio>

namespace emulador {

namespace {

    std::string Numero(double valor, const char* formato)
    {
        char buf[48];
        std::snprintf(buf, sizeof buf, formato, valor);
        return buf;
    }

    std::optional<std::uint32_t> AccionDe(const std::optional<TAccionViva>& accion)
    {
        return accion ? std::optional<std::uint32_t>(accion->Accion) : std::nullopt;
    }

} // namespace

void TEstadoVivo::FijarBateria(int nivel, int maximo)
{
    FBateria = nivel;
    FBateriaMax = maximo;
}

bool TEstadoVivo::MismaDeteccion(const TEstadoVivo& otro) const
{
    return AccionDe(FExpresiva) == AccionDe(otro.FExpresiva) && AccionDe(FCognitiva) == AccionDe(otro.FCognitiva)
           && FSenal == otro.FSenal && FCascoPuesto == otro.FCascoPuesto;
}

void TEstadoVivo::Restablecer()
{
    const bool puesto = FCascoPuesto;
    *this = TEstadoVivo {};
    FCascoPuesto = puesto;
}

void TEstadoVivo::Aplicar(edk::TEstadoEmo& estado) const
{
    if (FExpresiva) {
        estado.AccionExpresiva = FExpresiva->Accion;
        estado.PotenciaExpresiva = FExpresiva->Potencia;
    }
    if (FCognitiva) {
        estado.AccionCognitiva = FCognitiva->Accion;
        estado.PotenciaCognitiva = FCognitiva->Potencia;
    }
    if (FGiroX)
        estado.GiroX = *FGiroX;
    if (FSenal)
        estado.Senal = *FSenal;
    for (std::size_t i = 0; i < FContactos.size(); ++i)
        if (FContactos[i])
            estado.Contactos[i] = *FContactos[i];
    if (FBateria)
        estado.Bateria = *FBateria;
    if (FBateriaMax)
        estado.BateriaMax = *FBateriaMax;
    // A level is never beyond its maximum.
    if (FBateria || FBateriaMax)
        estado.Bateria = std::clamp(estado.Bateria, 0, std::max(estado.BateriaMax, 0));
}

std::string TEstadoVivo::Describir() const
{
    std::string s = FCascoPuesto ? "Casco: puesto\n" : "Casco: quitado\n";
    if (FExpresiva)
        s.append("Expresión: ")
            .append(std::to_string(FExpresiva->Accion))
            .append(" potencia ")
            .append(Numero(FExpresiva->Potencia, "%.2f"))
            .append("\n");
    if (FCognitiva)
        s.append("Acción cognitiva: ")
            .append(std::to_string(FCognitiva->Accion))
            .append(" potencia ")
            .append(Numero(FCognitiva->Potencia, "%.2f"))
            .append("\n");
    if (FGiroX)
        s.append("Giro horizontal: ").append(std::to_string(*FGiroX)).append("\n");
    if (FMovimiento)
        s.append("Giro de la cabeza: ").append(Numero(FMovimiento->Grados, "%.1f")).append(" grados acumulados\n");
    if (FSenal)
        s.append("Señal: ").append(std::to_string(*FSenal)).append("\n");
    std::string contactos;
    for (std::size_t i = 0; i < FContactos.size(); ++i)
        if (FContactos[i])
            contactos.append(" ").append(std::to_string(i)).append("=").append(std::to_string(*FContactos[i]));
    if (!contactos.empty())
        s.append("Contactos (canal=calidad):").append(contactos).append("\n");
    if (FBateria)
        s.append("Batería: ")
            .append(std::to_string(*FBateria))
            .append("/")
            .append(std::to_string(FBateriaMax.value_or(0)))
            .append("\n");
    if (!FExpresiva && !FCognitiva && !FGiroX && !FMovimiento && !FSenal && contactos.empty() && !FBateria)
        s += "Sin cambios: se envían los valores del escenario\n";
    return s;
}

} // namespace emulador
