// The engine core behind the C API: handles, the event source of the current
// connection, the users it holds with their settings, the gyro and the
// optimisation. Plain C++, one thread.
#pragma once

#include "CascoSimulado.h"
#include "Descriptor.h"
#include "Modelo.h"
#include "Perfil.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>

namespace edk {

class TMotor {
public:
    explicit TMotor(TReloj reloj = TReloj());

    // The clock of the local engine's next connection (steady_clock by default).
    void FijarReloj(TReloj reloj);

    void* CrearEvento();
    void LiberarEvento(void* evento);
    void* CrearEstado();
    void LiberarEstado(void* estado);
    void* CrearOptimizacion();
    void LiberarOptimizacion(void* parametro);

    int Conectar(); // the simulated headset
    int ConectarRemoto(const char* direccion, unsigned short puerto);
    // Any source. 'simulada': its powers are raw readings that the user's
    // sensitivities scale, as the engine's own detection would; a remote
    // emulator sends detections already made.
    int ConectarFuente(std::unique_ptr<TFuenteEventos> fuente, bool simulada = false);
    int Desconectar();
    bool Conectado() const { return FFuente != nullptr; }
    // One descriptor for the engine's whole life, readable once
    // SiguienteEvento, after answering 0x0600, may have something again; it
    // watches the current source's own one. -1 if the system gave none.
    int Despertador() const { return FDespertador.Fd(); }

    int SiguienteEvento(void* evento);
    int TipoEvento(void* evento) const;
    int UsuarioEvento(void* evento, unsigned int* usuario) const;
    int EstadoEvento(void* evento, void* estado) const;
    // The EmoState behind a handle; nullptr for anything that is not one.
    const TEstadoEmo* Estado(void* estado) const;

    int FijarVital(void* parametro, int suite, std::uint32_t acciones);
    int LeerVital(void* parametro, int suite, std::uint32_t* acciones) const;
    int ActivarOptimizacion(void* parametro);
    void DesactivarOptimizacion();
    bool OptimizacionActiva() const { return FOptimizacionActiva; }

    int CargarPerfil(std::uint32_t usuario, const char* fichero);
    int FijarUmbral(std::uint32_t usuario, std::uint32_t accion, int clase, int valor);
    int LeerUmbral(std::uint32_t usuario, std::uint32_t accion, int clase, int* valor) const;
    int LeerSensibilidades(std::uint32_t usuario, int* s1, int* s2, int* s3, int* s4) const;
    int FijarSensibilidades(std::uint32_t usuario, int s1, int s2, int s3, int s4);
    int CognitivasEntrenadas(std::uint32_t usuario, std::uint32_t* acciones) const;
    int CognitivasActivas(std::uint32_t usuario, std::uint32_t* acciones) const;
    int ExpresivasEntrenadas(std::uint32_t usuario, std::uint32_t* acciones) const;
    int NivelEntrenamiento(std::uint32_t usuario, float* nivel) const;
    int LeerGiro(std::uint32_t usuario, int* dx, int* dy) const;
    int CentrarGiro(std::uint32_t usuario);

private:
    struct THandleEvento {
        TEvento Evento;
    };
    struct THandleEstado {
        TEstadoEmo Estado;
    };
    struct THandleOptimizacion {
        std::uint32_t VitalExpresiva = 0;
        std::uint32_t VitalCognitiva = 0;
    };
    struct TUsuario {
        bool PerfilCargado = false;
        TDatosPerfil Perfil; // settings, defaults until a profile is loaded
        std::array<int, 12> UmbralesExpresivos; // per expressive action bit
        int GiroX = 0, GiroY = 0; // latest EmoState delivered for this user
        int CeroX = 0, CeroY = 0; // offset taken at the last re-zero
        TUsuario();
    };

    // Checks shared by every per-user call: connection, then the user.
    int Comprobar(std::uint32_t usuario) const;
    const TUsuario* Usuario(std::uint32_t usuario) const;
    TUsuario* Usuario(std::uint32_t usuario);
    int ConPerfil(std::uint32_t usuario, std::uint32_t* acciones, std::uint32_t TDatosPerfil::*campo) const;
    void Recibido(TEvento& evento);
    static void AjustarPotencias(const TUsuario& usuario, TEstadoEmo& estado);

    void Vigilar(int operacion);

    TReloj FReloj;
    TDescriptor FDespertador; // an epoll set holding the source's descriptor
    std::unordered_map<const void*, std::unique_ptr<THandleEvento>> FEventos;
    std::unordered_map<const void*, std::unique_ptr<THandleEstado>> FEstados;
    std::unordered_map<const void*, std::unique_ptr<THandleOptimizacion>> FOptimizaciones;

    std::unique_ptr<TFuenteEventos> FFuente;
    bool FSimulada = false;
    bool FEnlacePerdido = false;
    bool FGiroCalibrado = true;
    std::map<std::uint32_t, TUsuario> FUsuarios;
    bool FOptimizacionActiva = false;
    THandleOptimizacion FOptimizacion;
};

// The one engine of the process, behind the C API.
TMotor& MotorGlobal();

} // namespace edk
