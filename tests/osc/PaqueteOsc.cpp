#include "PaqueteOsc.h"

#include <cstdlib>

std::vector<unsigned char> Serializar(const std::string& direccion, lo_message mensaje)
{
    std::size_t tamano = 0;
    void* datos = lo_message_serialise(mensaje, direccion.c_str(), nullptr, &tamano);
    std::vector<unsigned char> paquete(static_cast<unsigned char*>(datos), static_cast<unsigned char*>(datos) + tamano);
    std::free(datos);
    lo_message_free(mensaje);
    return paquete;
}

std::vector<unsigned char> MensajeFloats(const std::string& direccion, const std::vector<float>& valores)
{
    lo_message m = lo_message_new();
    for (const float v : valores)
        lo_message_add_float(m, v);
    return Serializar(direccion, m);
}
