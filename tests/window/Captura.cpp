// Renders the main window, as it opens, into a PNG file; with --imagenes it
// renders every picture list instead, enlarged, for a look at the artwork. A
// picture of a connected run comes from captura_conectada.
#include "EjecutableTemporal.h"
#include "Imagenes.h"
#include "Main.h"

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

int main(int argc, char* argv[])
{
    QApplication aplicacion(argc, argv);
    const bool imagenes = argc == 3 && std::strcmp(argv[1], "--imagenes") == 0;
    if (argc != 2 && !imagenes) {
        std::fprintf(stderr, "uso: captura_ventana [--imagenes] <fichero.png>\n");
        return 2;
    }
    const char* fichero = argv[argc - 1];
    QPixmap captura;
    if (imagenes) {
        captura = HojaDeImagenes();
    } else {
        TEjecutableTemporal ejecutable;
        TFMain ventana {ejecutable.Dependencias()};
        ventana.show();
        QApplication::processEvents();
        captura = ventana.grab();
    }
    if (!captura.save(QString::fromLocal8Bit(fichero))) {
        std::fprintf(stderr, "no se pudo escribir %s\n", fichero);
        return 1;
    }
    return 0;
}
