#include "EstadoVivo.h"

#include <cstdio>

namespace emulador {

namespace {

std::string Numero(double valor, const char* formato)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, formato, valor);
    return buf;
}

} // namespace

void TEstadoVivo::FijarBateria(int nivel, int maximo)
{
    FBateria = nivel;
    FBateriaMax = maximo;
}

void TEstadoVivo::Restablecer()
{
    const bool puesto = FCascoPuesto;
    *this = TEstadoVivo{};
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
}

std::string TEstadoVivo::Describir() const
{
    std::string s = FCascoPuesto ? "Casco: puesto\n" : "Casco: quitado\n";
    if (FExpresiva)
        s += "Expresión: " + std::to_string(FExpresiva->Accion) + " potencia " + Numero(FExpresiva->Potencia, "%.2f") + "\n";
    if (FCognitiva)
        s += "Acción cognitiva: " + std::to_string(FCognitiva->Accion) + " potencia " + Numero(FCognitiva->Potencia, "%.2f") + "\n";
    if (FGiroX)
        s += "Giro horizontal: " + std::to_string(*FGiroX) + "\n";
    if (FSenal)
        s += "Señal: " + std::to_string(*FSenal) + "\n";
    std::string contactos;
    for (std::size_t i = 0; i < FContactos.size(); ++i)
        if (FContactos[i])
            contactos += " " + std::to_string(i) + "=" + std::to_string(*FContactos[i]);
    if (!contactos.empty())
        s += "Contactos (canal=calidad):" + contactos + "\n";
    if (FBateria)
        s += "Batería: " + std::to_string(*FBateria) + "/" + std::to_string(FBateriaMax.value_or(0)) + "\n";
    if (!FExpresiva && !FCognitiva && !FGiroX && !FSenal && contactos.empty() && !FBateria)
        s += "Sin cambios: se envían los valores del escenario\n";
    return s;
}

} // namespace emulador
