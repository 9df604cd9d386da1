// Files that cannot be written: the settings file at exit and the saved log,
// on a device that is full or read-only (a small tmpfs, root only), each with
// its clear message and nothing lost that was written before.
#include "Montaje.h"
#include "VentanaReal.h"

#include <QFile>
#include <QSlider>

namespace {

enum class TFallo { Lleno, SoloLectura };

struct TCasoFallo {
    const char* Nombre;
    TFallo Fallo;
};

const TCasoFallo Fallos[] = {{"disco lleno", TFallo::Lleno}, {"solo lectura", TFallo::SoloLectura}};

QByteArray Leer(const QString& ruta)
{
    QFile fichero(ruta);
    return fichero.open(QIODevice::ReadOnly) ? fichero.readAll() : QByteArray("<no se puede leer>");
}

class FallosFicheros : public VentanaReal {
protected:
    bool Romper(const TMontajeTmpfs& montaje, TFallo fallo)
    {
        return fallo == TFallo::Lleno ? montaje.Llenar() : montaje.SoloLectura();
    }
};

TEST_F(FallosFicheros, AjustesQueNoSePuedenEscribirAvisanYConservanElFicheroAnterior)
{
    for (const TCasoFallo& caso : Fallos) {
        SCOPED_TRACE(caso.Nombre);
        TMontajeTmpfs montaje;
        if (!montaje.Montado())
            GTEST_SKIP() << "needs root to mount a tmpfs";
        const QString ini = montaje.Ruta(QStringLiteral("gedanko.ini"));
        const QByteArray anterior = "; del operador\r\n[UMBRALES]\r\nAVRET=7\r\nGIRO=3\r\n[OTRA]\r\nX=1\r\n";
        {
            QFile fichero(ini);
            ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
            fichero.write(anterior);
        }
        TFMain::FijarEjecutablePrueba(montaje.Ruta(QStringLiteral("gedanko")));
        FErrores.clear();
        Crear();
        EXPECT_EQ(Ui().TrackBarUmbralAvRet->value(), 7);
        Ui().TrackBarUmbralAvRet->setValue(2);
        Ui().TrackBarUmbralGiro->setValue(9);
        ASSERT_TRUE(Romper(montaje, caso.Fallo));
        FVentana.reset();
        // One box naming the file; GIRO is not tried after AVRET failed.
        EXPECT_EQ(FErrores, std::vector<QString> {QStringLiteral("Unable to write to ") + ini + u'.'});
        EXPECT_EQ(Leer(ini), anterior);
    }
}

TEST_F(FallosFicheros, ElRegistroQueNoCabeOSeRechazaDaSuErrorYSigueEnteroParaGuardarloEnOtroSitio)
{
    struct Caso {
        TCasoFallo Fallo;
        QString Error;
    } casos[] = {
        {Fallos[0], QStringLiteral("Se ha producido un error escribiendo en el fichero\n28")},
        {Fallos[1], QStringLiteral("Se ha producido un error abriendo el fichero\n30")},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.Fallo.Nombre);
        TMontajeTmpfs montaje;
        if (!montaje.Montado())
            GTEST_SKIP() << "needs root to mount a tmpfs";
        Crear();
        // Far more text than the 64 KiB device holds.
        for (int i = 0; i < 2000; ++i)
            FVentana->Registrar(nrEstado, QStringLiteral("Línea %1 del registro, que no cabe en el disco").arg(i));
        const QString texto = Ui().RichEditRegistro->TextoCompleto();
        ASSERT_TRUE(Romper(montaje, caso.Fallo.Fallo));

        FDialogos->Guardar = montaje.Ruta(QStringLiteral("registro.txt"));
        FVentana->ActionGuardarExecute();
        EXPECT_EQ(FDialogos->Errores, std::vector<QString> {caso.Error});
        EXPECT_TRUE(FDialogos->Mensajes.empty()) << "reported as saved";
        EXPECT_EQ(Ui().RichEditRegistro->TextoCompleto(), texto);

        // The log is whole: elsewhere it saves.
        FDialogos->Errores.clear();
        FDialogos->Guardar = Ruta(QStringLiteral("registro.txt"));
        FVentana->ActionGuardarExecute();
        EXPECT_TRUE(FDialogos->Errores.empty());
        EXPECT_EQ(FDialogos->Mensajes, std::vector<QString> {QStringLiteral("El fichero se ha guardado con éxito")});
        EXPECT_EQ(Leer(FDialogos->Guardar).size(), (texto + u'\n').toLatin1().replace("\n", "\r\n").size());
        FVentana.reset();
    }
}

// Saving over an earlier log on a disk that has no room for the new one
// fails before the earlier file is touched.
TEST_F(FallosFicheros, UnRegistroGuardadoAntesSigueEnteroSiElNuevoNoCabe)
{
    TMontajeTmpfs montaje;
    if (!montaje.Montado())
        GTEST_SKIP() << "needs root to mount a tmpfs";
    Crear();
    const QString ruta = montaje.Ruta(QStringLiteral("registro.txt"));
    FDialogos->Guardar = ruta;
    FVentana->ActionGuardarExecute();
    ASSERT_EQ(FDialogos->Mensajes, std::vector<QString> {QStringLiteral("El fichero se ha guardado con éxito")});
    const QByteArray anterior = Leer(ruta);
    ASSERT_FALSE(anterior.isEmpty());

    for (int i = 0; i < 2000; ++i)
        FVentana->Registrar(nrEstado, QStringLiteral("Línea %1 del registro, que no cabe en el disco").arg(i));
    ASSERT_TRUE(montaje.Llenar());
    FVentana->ActionGuardarExecute();
    EXPECT_EQ(FDialogos->Errores,
              std::vector<QString> {QStringLiteral("Se ha producido un error escribiendo en el fichero\n28")});
    EXPECT_EQ(Leer(ruta), anterior);
}

} // namespace
