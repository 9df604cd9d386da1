// The command byte as frames over a link (Trama.h): sends each command at
// once and, while the heartbeat is on, repeats the command that is current
// at each beat (FijarVigente), so that the receiver's failsafe never times
// out during a drive and never outlives the command's source. A link that breaks is
// reported once and tried again every second; when it is back, the vehicle
// gets all off and no earlier command is resent. Timers run on the main
// thread's event loop, so the heartbeat goes on while a modal dialog is open.
// Each frame carries a new sequence number, taken from the wall clock's
// milliseconds so that it also grows across a restart of the program, and a
// tag under the receiver's key, if any. A receiver that stops answering
// (over UDP) is reported once, and once more when it answers again.
#pragma once

#include "EnlaceTrama.h"
#include "Trama.h"

#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

class TSalidaTrama {
public:
    // An error line (error true) or a note, for the log.
    using TAviso = std::function<void(bool error, const QString& linea)>;

    static constexpr int IntervaloReintentoMs = 1000;

    TSalidaTrama(std::unique_ptr<TEnlaceTrama> enlace, QString nombre);
    // All off once more when the heartbeat was on.
    ~TSalidaTrama();
    TSalidaTrama(const TSalidaTrama&) = delete;
    TSalidaTrama& operator=(const TSalidaTrama&) = delete;

    // False when the link cannot be opened; MensajeError says why. Not
    // tried again: the program runs on without output.
    bool Abrir();
    const QString& MensajeError() const { return FMensajeError; }
    void FijarAviso(TAviso aviso) { FAviso = std::move(aviso); }
    // The key the frames are tagged with; none (all zero) by default.
    void FijarClave(const trama::TClave& clave) { FClave = clave; }

    // Makes `orden` the current command and sends its frame now; false when
    // the link is down and nothing went out.
    bool Enviar(std::uint8_t orden);
    // Starts or stops repeating the current command.
    void Latir(bool activo);
    // Asked at every beat for the command that is current then; without
    // it the last one sent is repeated.
    void FijarVigente(std::function<std::uint8_t()> vigente) { FVigente = std::move(vigente); }
    // One beat now (while the heartbeat is on).
    void Repetir();
    bool Abierto() const { return FAbierto; }

private:
    bool EnviarActual();
    void Codificar(std::uint8_t orden, std::uint8_t* bytes);
    std::uint32_t SiguienteSecuencia();
    void VigilarRespuesta();
    static std::uint32_t RelojSecuencia();
    void Perder();
    void Reintentar();
    void Avisar(bool error, const QString& linea) const;

    std::unique_ptr<TEnlaceTrama> FEnlace;
    QString FNombre;
    QString FMensajeError;
    TAviso FAviso;
    std::function<std::uint8_t()> FVigente;
    QTimer FLatido;
    QTimer FReintento;
    std::uint8_t FOrden = 0;
    bool FAbierto = false;
    trama::TClave FClave = {};
    bool FResponde = true;
    std::uint32_t FSecuencia = RelojSecuencia() - 1;
};
