// Files that cannot be written: the settings file at exit and the saved log,
// on a device that is full, read-only or out of inodes (a small tmpfs, root
// only), each with its clear message and nothing lost that was written
// before.
#include "Montaje.h"
#include "VentanaReal.h"

#include <QFile>
#include <QSlider>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

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

// Uses up the device's free inodes with empty files; true when a new file was
// refused for want of one.
bool AgotarInodos(const TMontajeTmpfs& montaje)
{
    for (int i = 0; i < 1000; ++i) { // bounded: far beyond the inodes of the test's tmpfs
        const QByteArray ruta = QFile::encodeName(montaje.Ruta(QStringLiteral("inodo%1").arg(i)));
        const int fd = ::open(ruta.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0)
            return errno == ENOSPC;
        ::close(fd);
    }
    return false;
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
        FErrores.clear();
        TFMain::TDependencias dependencias;
        dependencias.Ejecutable = montaje.Ruta(QStringLiteral("gedanko"));
        Crear(std::move(dependencias));
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

// A folder that takes no new file (no inode left) still lets the settings be
// written over the old file, when the device has room for the new text; when
// it has none, the old file stays whole.
TEST_F(FallosFicheros, AjustesEnUnDispositivoSinInodosSeEscribenEnElMismoFicheroSiCaben)
{
    struct TCaso {
        const char* Nombre;
        bool Lleno;
    };
    const TCaso casos[] = {{"sin inodos", false}, {"sin inodos y lleno", true}};
    // Exactly one page: the new value's extra digit needs room on the device.
    QByteArray anterior = "; del operador\n[UMBRALES]\nAVRET=7\nGIRO=3\n[OTRA]\nX=1\n;";
    anterior += QByteArray(::sysconf(_SC_PAGESIZE) - anterior.size() - 1, 'x') + '\n';
    QByteArray nuevo = anterior;
    nuevo.replace("AVRET=7", "AVRET=10").replace("GIRO=3", "GIRO=9");
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Nombre);
        TMontajeTmpfs montaje("size=64k,nr_inodes=16");
        if (!montaje.Montado())
            GTEST_SKIP() << "needs root to mount a tmpfs";
        const QString ini = montaje.Ruta(QStringLiteral("gedanko.ini"));
        {
            QFile fichero(ini);
            ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
            ASSERT_EQ(fichero.write(anterior), anterior.size());
        }
        FErrores.clear();
        TFMain::TDependencias dependencias;
        dependencias.Ejecutable = montaje.Ruta(QStringLiteral("gedanko"));
        Crear(std::move(dependencias));
        Ui().TrackBarUmbralAvRet->setValue(10);
        Ui().TrackBarUmbralGiro->setValue(9);
        if (caso.Lleno) {
            ASSERT_TRUE(montaje.Llenar());
        }
        ASSERT_TRUE(AgotarInodos(montaje));
        FVentana.reset();
        if (caso.Lleno) {
            EXPECT_EQ(FErrores, std::vector<QString> {QStringLiteral("Unable to write to ") + ini + u'.'});
            EXPECT_EQ(Leer(ini), anterior);
        } else {
            EXPECT_TRUE(FErrores.empty()) << FErrores.front().toStdString();
            EXPECT_EQ(Leer(ini), nuevo);
        }
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
