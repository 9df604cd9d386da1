// Renders the main window, as it opens, into a PNG file; with --conectado it
// shows the indicators with sample values as during a run, and with
// --imagenes it renders every picture list instead, enlarged, for a look at
// the artwork.
#include "Controles.h"
#include "EjecutableTemporal.h"
#include "Grafica.h"
#include "Imagenes.h"
#include "Main.h"
#include "ui_Main.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <cstdio>
#include <cstring>
#include <vector>

static QPixmap HojaDeImagenes()
{
    std::vector<std::vector<QPixmap>> filas(5);
    for (int i = 0; i < NumImagenesCasco; ++i)
        filas[0].push_back(ImagenCasco(i));
    for (int i = 0; i < NumImagenesFlechasArribaAbajo; ++i)
        filas[1].push_back(ImagenFlechasArribaAbajo(i));
    filas[1].push_back(ImagenLeyenda());
    for (int i = 0; i < NumImagenesFlechasIzquierdaDerecha; ++i)
        filas[2].push_back(ImagenFlechasIzquierdaDerecha(i));
    for (int i = 0; i < NumImagenesToolBars; ++i)
        filas[3].push_back(ImagenToolBars(i));
    filas[4] = {GlifoCarpeta(), GlifoCentrar(), IconoPrograma().pixmap(24, 24)};

    const int escala = 3;
    const int separacion = 8;
    int ancho = 0;
    int alto = separacion;
    for (const auto& fila : filas) {
        int x = separacion;
        int altoFila = 0;
        for (const QPixmap& imagen : fila) {
            x += imagen.width() * escala + separacion;
            altoFila = std::max(altoFila, imagen.height() * escala);
        }
        ancho = std::max(ancho, x);
        alto += altoFila + separacion;
    }
    QPixmap hoja(ancho, alto);
    hoja.fill(QColor(0xd4, 0xd0, 0xc8));
    QPainter lienzo(&hoja);
    int y = separacion;
    for (const auto& fila : filas) {
        int x = separacion;
        int altoFila = 0;
        for (const QPixmap& imagen : fila) {
            lienzo.drawPixmap(QRect(x, y, imagen.width() * escala, imagen.height() * escala), imagen);
            x += imagen.width() * escala + separacion;
            altoFila = std::max(altoFila, imagen.height() * escala);
        }
        y += altoFila + separacion;
    }
    return hoja;
}

// A moment of a run: good signal, most contacts fine, forward detected.
static void MostrarEjemploConectado(TFMain& ventana)
{
    Ui::TFMain& ui = *ventana.ui;
    ventana.FijarConectadoPrueba(true);
    ui.ActionCasco->setChecked(true);
    ui.ActionConectar->setVisible(false);
    ui.ActionDesconectar->setVisible(true);
    for (QWidget* control : std::initializer_list<QWidget*> {
             ui.TrackBarUmbralAvRet, ui.TrackBarUmbralGiro, ui.TrackBarAvance, ui.TrackBarRetroceso,
             ui.LabelTiempoConexionEtq, ui.LabelTiempoConexion, ui.LabelFicheroPerfil})
        control->setEnabled(true);
    FijarColorFondo(ui.LabelTiempoConexion, clWindow);
    FijarColorFondo(ui.LabelFicheroPerfil, clYellow);
    FijarColorFondo(ui.PaintBoxGrafica, clWhite);
    ui.ShapeIndicadorFuerza->show();
    ui.ShapeIndicadorGiro->show();
    ventana.MostrarEstado(3);
    ventana.MostrarSenal(3);
    ventana.MostrarBateria(3, 5);
    ventana.MostrarFuerza(8);
    ventana.MostrarGiro(3);
    ventana.MostrarTiempo(127.25f);
    ventana.MostrarEntrenamiento(QStringLiteral("/home/ana/perfiles/ana.emu"), 0.72f);
    const std::array<int, TFMain::NumSensores> contactos = {4, 4, 4, 4, 3, 4, 4, 4, 2, 4, 4, 4, 4, 1, 4, 0};
    ventana.MostrarSensores(&contactos);
    ui.ImageFlechasArribaAbajo->FijarImagen(ImagenFlechasArribaAbajo(5));
    TGrafica* grafica = ventana.Grafica();
    grafica->Activar(true);
    for (int i = 0; i < 300; ++i) {
        const std::uint16_t fuerza = std::uint16_t((i / 25) % 2 ? 6 + i % 4 : 0);
        grafica->AnadirMuestra({std::uint16_t(fuerza ? 0 : 10), 0, fuerza, 0, std::uint16_t(i % 60 < 20 ? 4 : 0), 0});
    }
}

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    const bool imagenes = argc == 3 && std::strcmp(argv[1], "--imagenes") == 0;
    const bool conectado = argc == 3 && std::strcmp(argv[1], "--conectado") == 0;
    if (argc != 2 && !imagenes && !conectado) {
        std::fprintf(stderr, "uso: captura_ventana [--imagenes | --conectado] <fichero.png>\n");
        return 2;
    }
    const char* fichero = argv[argc - 1];
    QPixmap captura;
    if (imagenes) {
        captura = HojaDeImagenes();
    } else {
        TEjecutableTemporal ejecutable;
        TFMain ventana;
        ventana.show();
        if (conectado)
            MostrarEjemploConectado(ventana);
        QApplication::processEvents();
        captura = ventana.grab();
    }
    if (!captura.save(QString::fromLocal8Bit(fichero))) {
        std::fprintf(stderr, "no se pudo escribir %s\n", fichero);
        return 1;
    }
    return 0;
}
