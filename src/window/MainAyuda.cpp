// About box and help of the main window.
#include "Main.h"

#include "About.h"
#include "InformacionVersion.h"
#include "VentanaAyuda.h"

// A new box each time, shown modally and released once closed.
void TFMain::ActionAcercaDeExecute()
{
    TInformacionVersion version;
    version.FVersionProducto = FVersionProducto;
    version.FVersionFichero = FVersionFichero;
    version.FComentarios = FComentarios;
    version.FDerechosAutor = FDerechosAutor;

    TFAboutBox caja(this);
    caja.EstablecerDatos(FNombreInterno, FNombreProducto, version.TextoAutor(), version.TextoVersion());
    caja.exec();
}

// The manual beside the executable at its first topic, in a window of its
// own that leaves the main window (and a running connection) going.
void TFMain::ActionAyudaExecute()
{
    if (!FVentanaAyuda)
        FVentanaAyuda = new TVentanaAyuda(this);
    FVentanaAyuda->Mostrar(FFicheroAyuda);
}
