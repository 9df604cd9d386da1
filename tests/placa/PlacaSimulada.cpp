#include "PlacaSimulada.h"

#include <avr_ioport.h>
#include <avr_uart.h>
#include <sim_avr.h>
#include <sim_elf.h>
#include <sim_io.h>

namespace {

constexpr double Frecuencia = 16000000.0;
constexpr unsigned Baudios = 115200;
// Data-space addresses of the ATmega328P's port registers.
constexpr std::uint16_t DirPinC = 0x26;
constexpr std::uint16_t DirPortB = 0x25, DirDdrB = 0x24, DirPortD = 0x2B, DirDdrD = 0x2A;
// D2..D5 are PD2..PD5; the LED on D13 is PB5.
constexpr std::uint8_t DesplazamientoSalidas = 2;
constexpr std::uint8_t BitLed = 1U << 5;

} // namespace

bool TPlacaSimulada::Cargar(const std::string& elf)
{
    elf_firmware_t firmware {};
    if (elf_read_firmware(elf.c_str(), &firmware) != 0) {
        FError = "cannot read " + elf;
        return false;
    }
    FAvr = avr_make_mcu_by_name("atmega328p");
    if (!FAvr) {
        FError = "simavr has no atmega328p";
        return false;
    }
    avr_init(FAvr);
    FAvr->log = LOG_NONE;
    FAvr->frequency = static_cast<std::uint32_t>(Frecuencia);
    avr_load_firmware(FAvr, &firmware);
    FAvr->frequency = static_cast<std::uint32_t>(Frecuencia);
    Observar();
    return true;
}

TPlacaSimulada::~TPlacaSimulada()
{
    if (FAvr)
        avr_terminate(FAvr);
}

double TPlacaSimulada::Ms() const
{
    return static_cast<double>(FAvr->cycle) * 1000.0 / Frecuencia;
}

double TPlacaSimulada::MsPorByte() const
{
    return 10 * 1000.0 / Baudios;
}

void TPlacaSimulada::CorrerHasta(double ms)
{
    const auto fin = static_cast<avr_cycle_count_t>(ms * Frecuencia / 1000.0);
    while (FAvr->cycle < fin) {
        const int estado = avr_run(FAvr);
        if (estado == cpu_Done || estado == cpu_Crashed)
            break;
        Observar();
    }
}

void TPlacaSimulada::Observar()
{
    // A jump back to the reset vector from elsewhere is a reset.
    if (FAvr->pc == 0 && FPcAnterior != 0)
        ++FReinicios;
    if ((FAvr->data[DirPinC] & FBajosC) != 0)
        AplicarPinesC();
    FPcAnterior = static_cast<std::uint16_t>(FAvr->pc);
    const std::uint8_t d = FAvr->data[DirPortD] & FAvr->data[DirDdrD];
    const auto salidas = static_cast<std::uint8_t>((d >> DesplazamientoSalidas) & 0x0F);
    const bool led = (FAvr->data[DirPortB] & FAvr->data[DirDdrB] & BitLed) != 0;
    if (salidas != FSalidas || led != FLed) {
        FSalidas = salidas;
        FLed = led;
        FCambios.push_back({Ms(), salidas, led});
    }
}

void TPlacaSimulada::Enviar(const std::vector<std::uint8_t>& bytes)
{
    avr_irq_t* entrada = avr_io_getirq(FAvr, AVR_IOCTL_UART_GETIRQ('0'), UART_IRQ_INPUT);
    for (std::uint8_t byte : bytes)
        avr_raise_irq(entrada, byte);
}

void TPlacaSimulada::FijarPinC(std::uint8_t bit, bool bajo)
{
    const auto mascara = static_cast<std::uint8_t>(1U << bit);
    FBajosC = bajo ? (FBajosC | mascara) : (FBajosC & ~mascara);
    avr_raise_irq_float(avr_io_getirq(FAvr, AVR_IOCTL_IOPORT_GETIRQ('C'), bit), bajo ? 0 : 1, !bajo);
}

void TPlacaSimulada::AplicarPinesC()
{
    // Raised twice: simavr passes on only a change of an IRQ's value.
    for (std::uint8_t bit = 0; bit < 8; ++bit) {
        if (FBajosC & (1U << bit)) {
            avr_irq_t* pin = avr_io_getirq(FAvr, AVR_IOCTL_IOPORT_GETIRQ('C'), bit);
            avr_raise_irq_float(pin, 1, 1);
            avr_raise_irq_float(pin, 0, 0);
        }
    }
}
