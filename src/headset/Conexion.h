// The program's one door to the headset engine: owns the engine handles for
// one run of the control loop, reads events, keeps a copy of the last
// EmoState and words codes and values for the log. Never throws or logs;
// every engine call keeps its code in FResultado.
#pragma once

#include "EscalasCasco.h"
#include "Tipos.h"
#include "edk.h"

#include <QString>
#include <array>
#include <cstdint>

class TConexion {
public:
    TConexion();
    virtual ~TConexion();
    TConexion(const TConexion&) = delete;
    TConexion& operator=(const TConexion&) = delete;

    // Engine calls: true when FResultado is 0 afterwards.
    virtual bool Conectar() = 0;
    bool ActivarOptimizacion();
    bool Desconectar();
    bool LeerEvento();
    bool LeerEstado();
    // The engine's wake-up descriptor (readable once LeerEvento, after
    // finding no event, may find one), or -1 when the engine offers none and
    // must be polled. Owned by the engine.
    static int DescriptorEventos();

    // Event tests on the last event read.
    bool UsuarioAnadido() const;
    bool UsuarioEliminado() const;

    // Queries on the last EmoState. A power that is not finite detects
    // nothing: dirNinguna with power 0.
    void AccionDetectada(TDireccion& direccion, unsigned& potencia) const;
    TNivelSenal NivelSenal() const;
    float Tiempo() const;
    void NivelBateria(int& nivel, int& maximo) const;
    // Every engine channel must be usable (ContactoUtilizable and up); a value
    // outside the contact scale is never usable and is handed to the display
    // clamped to that scale.
    void CalidadContacto(std::array<int, NumElectrodos>& valores, bool& utilizables) const;

    // Detection tuning, profile and gyro of the current user.
    bool CargarPerfil(const char* fichero); // a null name is refused with EDK_PARAMETRO_NO_VALIDO
    bool FijarSensibilidadAvance(int valor);
    int SensibilidadAvance();
    // The backward sensitivity is the one of pull's slot (RanuraCognitiva).
    // When pull has no slot the setter writes nothing and fails with
    // FResultado 0 and AccionTirarInactiva() true; the getter then gives the
    // engine's neutral setting. A refused engine call gives the lowest
    // sensitivity.
    bool FijarSensibilidadRetroceso(int valor);
    int SensibilidadRetroceso();
    // The last of the two calls above found pull without a slot.
    bool AccionTirarInactiva() const { return FAccionTirarInactiva; }
    float NivelEntrenamiento();
    void LeerGiro(TGiro& giro);
    int IntensidadGiro() const;
    bool CentrarGiroscopio();
    // The drive decision's reading of the EmoState just read: the detected
    // drive (AccionDetectada), then the turn (LeerGiro, an engine call) and
    // the magnitude of the gyro change it has just read (IntensidadGiro).
    TLectura LeerLectura();

    // Texts for the log.
    QString TextoError() const;
    QString TextoEvento() const;
    static QString TextoAccionesCognitivas(std::uint32_t acciones);
    static QString TextoAccionesExpresivas(std::uint32_t acciones);
    QString TextoEstado() const;
    QString TextoPerfil() const;
    QString TextoOptimizacion();

    int Resultado() const { return FResultado; }
    int TipoEvento() const { return FTipoEvento; }
    unsigned Usuario() const { return FUsuario; }

    // Engine channel of each displayed electrode, in display order.
    static const std::array<int, NumElectrodos> CanalDeElectrodo;

protected:
    EmoEngineEventHandle FEvento;
    EmoStateHandle FEstado;
    std::int32_t FTipoEvento = 0;
    OptimizationParamHandle FParamOptimizacion = nullptr;
    std::uint32_t FUsuario = 0;
    std::int32_t FGiroX = 0;
    std::uint32_t FAccionCognitiva = ACC_COG_NEUTRAL;
    std::uint32_t FAccionExpresiva = ACC_EXP_NEUTRAL;
    float FPotenciaCognitiva = 0;
    float FPotenciaExpresiva = 0;
    std::int32_t FBateria = 0;
    std::int32_t FBateriaMax = 0;
    std::int32_t FSenal = EDK_SIN_SENAL;
    float FTiempo = 0;
    std::array<std::int32_t, EDK_NUM_CANALES> FContactos {};
    std::int32_t FResultado = 0;

private:
    bool FAccionTirarInactiva = false;

    // Pull's slot among the active cognitive actions; SinRanura when the
    // engine refuses the read (its code in FResultado) or pull has no slot
    // (FAccionTirarInactiva).
    int RanuraTirar();
};
