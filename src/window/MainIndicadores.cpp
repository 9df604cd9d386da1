// Headset status indicators of the main window: each sets its controls from
// a value, with an idle look while no run is connected or its link is lost. They run for every
// headset state, so a control is touched only when its look changes.
#include "Main.h"

#include "ColoresQt.h"
#include "Controles.h"
#include "Formato.h"
#include "Imagenes.h"
#include "ui_Main.h"

#include <QLabel>
#include <QProgressBar>

#include <cmath>

namespace {

// The look of each TFMain::TEstadoCasco, by its index.
struct TAspectoEstado {
    const char* Texto;
    TColor Fondo;
    TColor Fuente;
};

const TAspectoEstado EstadosCasco[] = {
    {"Desconectado", clGray, clWhite},  {"Sin Casco", clYellow, clBlack},     {"Error", clRed, clWhite},
    {"Conectado", clGreen, clWhite},    {"Señal Ruidosa", clYellow, clBlack}, {"Sin Perfil", clPurple, clWhite},
    {"No Enlazado", clYellow, clBlack},
};

// Contact quality from no contact to the best; anything else shows as no
// contact.
TColor ColorContacto(int nivel)
{
    static constexpr std::array<TColor, ContactoMaximo + 1> Colores = {clBlack, clRed, clNaranja, clYellow, clLime};
    return nivel >= 0 && nivel < int(std::size(Colores)) ? Colores[nivel] : clBlack;
}

QColor Color(TColor color)
{
    return AColorQt(color, QPalette());
}

void FijarTexto(QLabel* etiqueta, const QString& texto)
{
    if (etiqueta->text() != texto)
        etiqueta->setText(texto);
}

void FijarHint(QWidget* control, const QString& hint)
{
    if (control->toolTip() != hint)
        control->setToolTip(hint);
}

void FijarPosicion(QProgressBar* barra, int posicion)
{
    if (barra->value() != posicion)
        barra->setValue(posicion);
}

// Each indicator shows its value only while the headset's values are known
// (a run is connected and its link holds); otherwise its idle look.
void PintarDeteccion(TGauge* gauge, bool conocido, int valor)
{
    gauge->FijarColorFondo(Color(conocido ? clYellow : clBtnFace));
    gauge->FijarColorRelleno(Color(conocido ? clBlue : clBlack));
    gauge->FijarProgreso(conocido ? valor : 0);
}

void PintarSenal(QProgressBar* barra, bool conocido, TNivelSenal senal)
{
    int posicion = 0;
    if (conocido && senal == nsMala) {
        FijarColorBarra(barra, Color(clYellow));
        posicion = 1;
    } else if (conocido && senal == nsBuena) {
        FijarColorBarra(barra, Color(clLime));
        posicion = 2;
    }
    FijarPosicion(barra, posicion);
}

void PintarBateria(TGauge* gauge, bool conocido, int nivel, int maximo)
{
    // A maximum of 0 or less has no sensible scale: shown as idle.
    if (!conocido || nivel < 0 || maximo <= 0) {
        gauge->FijarColorRelleno(Color(clBlack));
        gauge->FijarColorFondo(Color(clBtnFace));
        gauge->FijarMaximo(10);
        gauge->FijarProgreso(0);
        return;
    }
    const int m = maximo - 1;
    const int cuarto = m / 4;
    const int mitad = m / 2;
    gauge->FijarColorFondo(Color(clWhite));
    gauge->FijarMaximo(m);
    gauge->FijarProgreso(nivel);
    gauge->FijarColorRelleno(Color(nivel <= cuarto ? clRed : nivel <= mitad ? clYellow : clGreen));
}

// The head picture's index: grey while unknown, red while connected without
// contact values, cyan with them.
void PintarSensores(Ui::TFMain& ui, std::uint16_t& indiceCasco, bool conocido,
                    const std::array<int, NumElectrodos>* valores)
{
    TShape* const marcas[NumElectrodos] = {
        ui.ShapeElectodo01, ui.ShapeElectodo02, ui.ShapeElectodo03, ui.ShapeElectodo04,
        ui.ShapeElectodo05, ui.ShapeElectodo06, ui.ShapeElectodo07, ui.ShapeElectodo08,
        ui.ShapeElectodo09, ui.ShapeElectodo10, ui.ShapeElectodo11, ui.ShapeElectodo12,
        ui.ShapeElectodo13, ui.ShapeElectodo14, ui.ShapeElectodo15, ui.ShapeElectodo16,
    };
    std::uint16_t indice = 0;
    if (!conocido || !valores) {
        indice = conocido ? 2 : 0;
        const QColor color = Color(conocido ? clBlack : clGray);
        for (TShape* marca : marcas)
            marca->FijarColorRelleno(color);
    } else {
        indice = 1;
        for (int i = 0; i < NumElectrodos; ++i) {
            const QColor color = Color(ColorContacto((*valores)[size_t(i)]));
            if (marcas[i]->ColorRelleno() != color)
                marcas[i]->FijarColorRelleno(color);
        }
    }
    if (indice != indiceCasco) {
        indiceCasco = indice;
        ui.ImageCasco->FijarImagen(ImagenCasco(indice));
    }
}

} // namespace

void TFMain::MostrarEstado(unsigned estadoCasco)
{
    if (estadoCasco >= std::size(EstadosCasco))
        return;
    const TAspectoEstado& estado = EstadosCasco[estadoCasco];
    FijarTexto(ui->LabelEstado, QString::fromUtf8(estado.Texto));
    FijarColorFondo(ui->LabelEstado, Color(estado.Fondo));
    FijarColorFuente(ui->LabelEstado, Color(estado.Fuente));
}

void TFMain::MostrarSenal(TNivelSenal senal)
{
    PintarSenal(ui->ProgressBarSenal, FConectado, senal);
}

void TFMain::MostrarBateria(int nivel, int maximo)
{
    PintarBateria(ui->CGaugeBateria, FConectado, nivel, maximo);
}

void TFMain::MostrarFuerza(std::uint16_t fuerza)
{
    PintarDeteccion(ui->CGaugeFuerza, FConectado, fuerza);
}

void TFMain::MostrarGiro(std::int16_t giro)
{
    PintarDeteccion(ui->CGaugeGiro, FConectado, giro);
}

void TFMain::MostrarEntrenamiento(const QString& fichero, float nivel)
{
    FijarTexto(ui->LabelFicheroPerfil, fichero.mid(fichero.lastIndexOf(QLatin1Char('/')) + 1));
    FijarHint(ui->LabelFicheroPerfil, fichero);

    // A skill outside 0..1 (or not a number) is held to the bar's range.
    const double porcentaje = double(nivel) * 100.0;
    int posicion = 0;
    if (porcentaje > 0)
        posicion = porcentaje >= 100 ? 100 : int(std::ceil(porcentaje));
    FijarPosicion(ui->ProgressBarEntrenamiento, posicion);
    FijarColorBarra(ui->ProgressBarEntrenamiento, Color(posicion < 33 ? clRed : posicion < 67 ? clYellow : clGreen));
    FijarHint(ui->ProgressBarEntrenamiento, QStringLiteral("Entrenamiento: ") + FormatearNumero(porcentaje, u"0.0%"));
}

void TFMain::MostrarSensores(const std::array<int, NumElectrodos>* valores)
{
    PintarSensores(*ui, FIndiceCasco, FConectado, valores);
}

// With the link lost nothing the headset reported still holds: beside
// "Error", what it fed shows as unknown, in the look of a disconnected
// window, until the next headset state.
void TFMain::MostrarEnlacePerdido()
{
    MostrarEstado(ecError);
    constexpr bool conocido = false;
    PintarSenal(ui->ProgressBarSenal, conocido, nsSinEstado);
    PintarBateria(ui->CGaugeBateria, conocido, 0, 0);
    PintarSensores(*ui, FIndiceCasco, conocido, nullptr);
    PintarDeteccion(ui->CGaugeFuerza, conocido, 0);
    PintarDeteccion(ui->CGaugeGiro, conocido, 0);
}

void TFMain::MostrarTiempo(float segundos)
{
    FijarTexto(ui->LabelTiempoConexion, FormatearNumero(segundos, u"0.000"));
}
