// An Arduino Uno in Debian's AVR simulator (simavr) running the receiver's
// real ELF: bytes go into its UART at the line's own pace, and the four
// outputs and the LED are read from the port registers after every
// instruction, so each change is known to the clock cycle. An output counts
// as on only while its pin is an output driven high; an input pin is held
// low by the board's pull-down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct avr_t;

class TPlacaSimulada {
public:
    struct TCambio {
        double Ms;
        std::uint8_t Salidas;
        bool Led;
    };

    // False when the ELF cannot be loaded; Error says why.
    bool Cargar(const std::string& elf);
    const std::string& Error() const { return FError; }
    ~TPlacaSimulada();

    // Runs until simulated time `ms` from power-up.
    void CorrerHasta(double ms);
    void Correr(double ms) { CorrerHasta(Ms() + ms); }
    // Puts bytes on the board's RX line now; they arrive at 115200 baud.
    void Enviar(const std::vector<std::uint8_t>& bytes);
    // Holds an input pin of port C low or lets it go (its pull-up wins).
    void FijarPinC(std::uint8_t bit, bool bajo);

    double Ms() const;
    // When a byte sent now has been received whole.
    double MsPorByte() const;
    std::uint8_t Salidas() const { return FSalidas; }
    bool Led() const { return FLed; }
    // Every change of the outputs or the LED since power-up.
    const std::vector<TCambio>& Cambios() const { return FCambios; }
    // Resets of the microcontroller seen so far (the watchdog's).
    int Reinicios() const { return FReinicios; }

private:
    void Observar();

    avr_t* FAvr = nullptr;
    std::string FError;
    std::uint8_t FSalidas = 0;
    bool FLed = false;
    void AplicarPinesC();

    std::uint16_t FPcAnterior = 0;
    // Pins of port C held low from outside; a reset or a pull-up of the
    // simulated chip may forget them, a real board's wiring does not.
    std::uint8_t FBajosC = 0;
    int FReinicios = 0;
    std::vector<TCambio> FCambios;
};
