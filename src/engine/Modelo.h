// Inner data of the engine: one EmoState, one engine event, and the source
// that events come from (the simulated headset or the remote link).
#pragma once

#include "edk.h"

#include <array>
#include <cstdint>

namespace edk {

constexpr int NumCanales = EDK_NUM_CANALES;

// Largest gyro change a scenario may give and the remote protocol carries;
// it also keeps callers' arithmetic on gyro changes far from overflow.
constexpr int GiroMaximo = 32767;

// Rate of the headset's facial-expression detections: EmoStates per second.
constexpr int EstadosPorSegundo = 32;

struct TEstadoEmo {
    float Tiempo = 0; // seconds since the engine started
    std::uint32_t AccionCognitiva = ACC_COG_NEUTRAL;
    float PotenciaCognitiva = 0; // 0..1
    std::uint32_t AccionExpresiva = ACC_EXP_NEUTRAL;
    float PotenciaExpresiva = 0; // 0..1
    int Senal = EDK_SENAL_BUENA; // an EdkSenal
    int Bateria = 0;
    int BateriaMax = 0;
    std::array<int, NumCanales> Contactos {}; // a contact quality per engine channel
    int GiroX = 0; // horizontal and vertical gyro change
    int GiroY = 0;
};

// Event types that only travel between a source and the engine core; they
// change the core's state and never reach the program.
constexpr int TipoInternoGiroCalibrado = 0x10001;
constexpr int TipoInternoGiroSinCalibrar = 0x10002;

struct TEvento {
    int Tipo = 0; // an engine event type, or an internal one above
    std::uint32_t Usuario = 0;
    TEstadoEmo Estado; // meaningful for EmoState updates
};

// Where events come from. Siguiente never blocks: it answers 0 with the next
// event, 0x0600 when none is waiting now, or 0x0501 once a link is lost.
class TFuenteEventos {
public:
    virtual ~TFuenteEventos() = default;
    virtual int Siguiente(TEvento& evento) = 0;
    // A descriptor that turns readable once Siguiente, after answering
    // 0x0600, may have something again (an event or a lost link); -1 when
    // the source cannot tell. Spurious readiness is allowed, a missed one
    // is not.
    virtual int Despertador() const { return -1; }
};

} // namespace edk
