// Scriptable stand-in for the headset engine: the library edk_prueba defines
// every function of edk.h, so a test program linking it instead of libedk.so
// drives the connection classes with exactly the answers a test wants, and
// can then check what was called.
//
// Usage (one engine per test program; call Reiniciar() in each test's SetUp):
//
//     TMotorPrueba& motor = MotorPrueba();
//     motor.Reiniciar();
//     motor.FijarResultado("EE_EngineConnect", 0x0500);       // every call answers 0x0500
//     motor.EncolarResultado("EE_HeadsetGetGyroDelta", 0x0700); // only the next call does
//     TEstadoPrueba estado;                                     // one EmoState
//     estado.AccionExpresiva = 0x0100; estado.PotenciaExpresiva = 0.8f;
//     motor.EncolarEstado(estado, 7);                           // EmoState event of user 7
//     motor.EncolarEvento(EE_UserAdded, 7);                    // any other event
//     motor.Sensibilidades = {3, 4, 5, 6};                      // written by the getters
//     motor.EncolarGiro(60);                                    // next gyro read gives dx 60
//     ... run the code under test ...
//     EXPECT_EQ(motor.Llamadas().back(), "EE_EngineDisconnect()");
//     EXPECT_TRUE(motor.Anomalias().empty());                   // no double free, no stray handle
//     EXPECT_TRUE(motor.TodoLiberado());                        // every handle freed once
//
// Result codes: every EE_ function answers the next code queued for it by
// EncolarResultado, else the code set by FijarResultado, else 0. Functions are
// named by their C name. A refused call writes none of its outputs.
//
// Events: EE_EngineGetNextEvent (when its own code is 0) copies the first
// queued event into the event handle and answers 0, or answers 0x0600 when the
// queue is empty. EE_EmoEngineEventGetType and EE_EmoEngineEventGetUserId read
// the event held by the handle; GetUserId answers the event's ResultadoUsuario
// when that is not 0. EE_EmoEngineEventGetEmoState copies the event's EmoState
// into the EmoState handle, which the ES_ functions then read.
//
// Getters write the public values below. Setters that succeed store their
// value there too (threshold, sensitivities, vital actions by suite), so the
// engine reads back what was set. EE_HeadsetGetGyroDelta takes one entry of
// the gyro queue per call (a refused call consumes one too) and writes
// GiroX/GiroY when the queue is empty.
//
// Calls: every call is recorded in order as text, its inputs in decimal,
// handles as E<n> (event), S<n> (EmoState), P<n> (optimisation parameter),
// "null" for a null handle and "?" for a pointer the engine never gave out,
// texts in double quotes; outputs are not shown. Examples:
//     EE_EmoEngineEventCreate()   EE_EngineRemoteConnect("127.0.0.1",1726)
//     EE_OptimizationSetVitalAlgorithm(P1,2,5)   EE_CognitivSetActionSensitivity(7,7,4,5,6)
//     EE_EmoEngineEventGetEmoState(E1,S1)   ES_GetContactQualityFromAllChannels(S1,18)
//
// Wake-up descriptor: DescriptorPrueba.cpp adds the engine's optional
// EDK_DescriptorEventos to a test program that wants it (the program must
// export its symbols): an eventfd readable exactly while events are queued,
// or -1 when OfreceDescriptor is false. Programs without that file test an
// engine that has no such function.
//
// Handles are distinct non-null tokens, never given out twice in a program's
// life and never dereferenced: a handle kept across Reiniciar() is simply
// unknown. Freeing one twice, or using a freed or unknown handle, is recorded
// in Anomalias().
#pragma once

#include "edk.h"

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

// Values of one EmoState.
struct TEstadoPrueba {
    unsigned AccionCognitiva = ACC_COG_NEUTRAL;
    float PotenciaCognitiva = 0;
    unsigned AccionExpresiva = ACC_EXP_NEUTRAL;
    float PotenciaExpresiva = 0;
    float Tiempo = 0;
    int Senal = 0;
    int Bateria = 0;
    int BateriaMax = 0;
    std::array<int, EDK_NUM_CANALES> Contactos {};
};

// One engine event.
struct TEventoPrueba {
    int Tipo = EE_EmoStateUpdated;
    unsigned Usuario = 0;
    int ResultadoUsuario = 0; // answer of EE_EmoEngineEventGetUserId
    TEstadoPrueba Estado;
};

class TMotorPrueba {
public:
    // Back to a fresh engine: no codes, no queues, no handles, no calls, values at 0.
    void Reiniciar();

    // --- Scripting ---
    void FijarResultado(const std::string& funcion, int codigo);
    void EncolarResultado(const std::string& funcion, int codigo);
    void EncolarEvento(const TEventoPrueba& evento);
    void EncolarEvento(int tipo, unsigned usuario = 0, int resultadoUsuario = 0);
    void EncolarEstado(const TEstadoPrueba& estado, unsigned usuario = 0);
    // The one call another thread may make: the event joins the queue at the
    // next EE_EngineGetNextEvent, as a real engine's input arrives.
    void EncolarDesdeOtroHilo(const TEventoPrueba& evento);
    void EncolarGiro(int dx, int dy = 0);
    // Runs the action inside every later call of that function, before it
    // answers: what happens while the engine holds the caller (a slow connect).
    void AlLlamar(const std::string& funcion, std::function<void()> accion);
    std::size_t EventosPendientes() const { return FEventos.size(); }
    // What EDK_DescriptorEventos answers: the descriptor, or -1 when false.
    bool OfreceDescriptor = true;
    // The wake-up descriptor, the same for the program's life.
    static int Despertador();

    // Values the getters write.
    int Umbral = 0; // EE_ExpressivGetThreshold
    std::array<int, 4> Sensibilidades {}; // EE_CognitivGetActionSensitivity, slots 1..4
    unsigned CognitivasEntrenadas = 0; // EE_CognitivGetTrainedSignatureActions
    unsigned CognitivasActivas = 0; // EE_CognitivGetActiveActions
    unsigned ExpresivasEntrenadas = 0; // EE_ExpressivGetTrainedSignatureActions
    float NivelEntrenamiento = 0; // EE_CognitivGetOverallSkillRating
    int GiroX = 0; // EE_HeadsetGetGyroDelta, queue empty
    int GiroY = 0;
    std::map<int, unsigned> Vitales; // EE_OptimizationGetVitalAlgorithm, by suite

    // --- Inspection ---
    const std::vector<std::string>& Llamadas() const { return FLlamadas; }
    // The recorded calls of one function, and how many there were.
    std::vector<std::string> LlamadasDe(std::string_view funcion) const;
    int Cuenta(std::string_view funcion) const;
    void BorrarLlamadas() { FLlamadas.clear(); }
    // Handles given out, in order of creation, and how often each was freed.
    std::vector<void*> Manejadores() const;
    int Liberaciones(const void* manejador) const;
    // Every handle given out was freed exactly once.
    bool TodoLiberado() const;
    const std::vector<std::string>& Anomalias() const { return FAnomalias; }
    // The text naming a handle in the call record ("E1", "S1", "P1", "null", "?").
    std::string Nombre(const void* manejador) const;

    // --- Used by the engine's C functions ---
    struct TManejador {
        char Clase; // 'E' event, 'S' EmoState, 'P' optimisation parameter
        int Numero; // 1, 2, ... within its class
        int Liberaciones = 0;
        TEventoPrueba Evento; // the event copied into an event handle
        bool ConEvento = false;
        TEstadoPrueba Estado; // the values of an EmoState handle
    };
    void* Crear(char clase);
    void Liberar(const char* funcion, void* manejador, char clase);
    // The live handle of that class, or null (recorded as an anomaly).
    TManejador* Buscar(const char* funcion, void* manejador, char clase);
    int Codigo(const std::string& funcion);
    void Registrar(std::string llamada) { FLlamadas.push_back(std::move(llamada)); }
    bool SiguienteEvento(TEventoPrueba& evento);
    void SiguienteGiro(int& dx, int& dy);

private:
    // Makes the wake-up descriptor readable exactly while events are queued.
    void Sincronizar() const;

    std::map<std::string, int> FCodigos;
    std::map<std::string, std::deque<int>> FCodigosEncolados;
    std::map<std::string, std::function<void()>> FAcciones;
    std::deque<TEventoPrueba> FEventos;
    // Events from another thread, and the lock they and the wake-up
    // descriptor's state are kept under.
    std::deque<TEventoPrueba> FEntrantes;
    mutable std::unique_ptr<std::mutex> FCerrojo = std::make_unique<std::mutex>();
    std::deque<std::pair<int, int>> FGiros;
    std::map<const void*, TManejador> FManejadores;
    std::vector<void*> FOrden; // handles in order of creation
    std::map<char, int> FContadores;
    std::vector<std::string> FLlamadas;
    std::vector<std::string> FAnomalias;
};

TMotorPrueba& MotorPrueba();
