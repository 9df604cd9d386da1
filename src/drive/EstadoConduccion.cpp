#include "EstadoConduccion.h"

void TEstadoConduccion::Iniciar()
{
    Direccion = dirNinguna;
    Potencia = 0;
    AvRetActivo = false;
    Giro = giroNinguno;
    MagnitudGiro = 0;
    GiroFijado = false;
    DireccionFijada = giroNinguno;
    GiroMostrado = giroNinguno;
    Liberado = false;
    Contador = 0;
}

void TEstadoConduccion::LecturaCompleta(const TLectura& lectura, unsigned umbralAvRet, unsigned umbralGiro)
{
    Leer(lectura, umbralAvRet);
    ++Contador;
    if (Contador > LecturasBloqueo) {
        // A release waits until the head has been seen still once past a
        // lock-out, so the movement that latched cannot also release.
        Liberado = Liberado || Giro == giroNinguno;
        if (MagnitudGiro >= umbralGiro) {
            if (GiroFijado) {
                if (Liberado && Giro == DireccionFijada) {
                    DireccionFijada = giroNinguno;
                    GiroFijado = false;
                    Contador = 0;
                }
            } else if (Giro != giroNinguno) {
                DireccionFijada = Giro;
                GiroFijado = true;
                Contador = 0;
            }
        }
    }
    GiroMostrado = DireccionFijada != giroNinguno ? DireccionFijada : Giro;
}

void TEstadoConduccion::LecturaAtrasada(const TLectura& lectura, unsigned umbralAvRet)
{
    Leer(lectura, umbralAvRet);
    GiroMostrado = DireccionFijada != giroNinguno ? DireccionFijada : Giro;
}

void TEstadoConduccion::Leer(const TLectura& lectura, unsigned umbralAvRet)
{
    Direccion = lectura.Direccion;
    Potencia = lectura.Potencia;
    AvRetActivo = umbralAvRet <= Potencia;
    Giro = lectura.Giro;
    MagnitudGiro = lectura.MagnitudGiro;
}

void TEstadoConduccion::Rechazar()
{
    Direccion = dirNinguna;
}

void TEstadoConduccion::SoltarGiro()
{
    Direccion = dirNinguna;
    GiroFijado = false;
    DireccionFijada = giroNinguno;
    GiroMostrado = Giro;
    Liberado = false;
    Contador = 0;
}

TSalidasConduccion TEstadoConduccion::Salidas() const
{
    TSalidasConduccion salidas {};
    salidas.Direccion = Direccion;
    salidas.GiroMostrado = GiroMostrado;
    salidas.AvRetActivo = AvRetActivo;
    salidas.GiroFijado = GiroFijado;

    const bool conduce = AvRetActivo && (Direccion == dirAvance || Direccion == dirRetroceso);
    salidas.DireccionEnviada = conduce ? Direccion : dirNinguna;
    salidas.GiroEnviado = GiroEnviado();

    const auto valor = [](std::uint32_t v) { return static_cast<std::uint16_t>(v); };
    switch (Direccion) {
    case dirNinguna:
        salidas.Muestra[sgNinguna] = ValorSinDeteccion;
        break;
    case dirNeutral:
        salidas.Muestra[sgNeutral] = ValorSinDeteccion;
        break;
    case dirAvance:
        salidas.Muestra[sgAvance] = valor(Potencia);
        break;
    case dirRetroceso:
        salidas.Muestra[sgRetroceso] = valor(Potencia);
        break;
    }
    if (Giro == giroIzquierda)
        salidas.Muestra[sgIzquierda] = valor(MagnitudGiro);
    else if (Giro == giroDerecha)
        salidas.Muestra[sgDerecha] = valor(MagnitudGiro);
    return salidas;
}
