// Start-up and shutdown of the window: the log banner, the default control
// values, the actuator, the thresholds read from and written back to the
// settings file, the error box when it cannot be written; the application
// entry on a machine without a display.
#include "FicheroIni.h"
#include "VentanaPrograma.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

namespace {

class Inicio : public VentanaPrograma {
protected:
    QString FicheroIni() const { return Ruta(QStringLiteral("gedanko.ini")); }

    void EscribirIni(const QByteArray& contenido) const
    {
        QFile fichero(FicheroIni());
        ASSERT_TRUE(fichero.open(QIODevice::WriteOnly));
        fichero.write(contenido);
    }

    QByteArray LeerIni() const
    {
        QFile fichero(FicheroIni());
        return fichero.open(QIODevice::ReadOnly) ? fichero.readAll() : QByteArray();
    }
};

TEST_F(Inicio, LaVentanaEmpiezaConElEstandarteYLosValoresDeDiseno)
{
    Crear();
    EXPECT_EQ(Registro(), (std::vector<QString> {QStringLiteral("I Gedanko V:1.0.0 (1.0.0.6) - 14/09/2010"),
                                                 QStringLiteral("I 2010 - Proyecto Gedanko")}));
    EXPECT_EQ(FVentana->FicheroIni(), FicheroIni());
    EXPECT_EQ(FVentana->FicheroAyuda(), Ruta(QStringLiteral("gedanko.html")));
    const std::pair<QLineEdit*, const char*> edits[] = {
        {Ui().EditIp1, "127"}, {Ui().EditIp2, "0"}, {Ui().EditIp3, "0"}, {Ui().EditIp4, "1"}, {Ui().EditPuerto, "1726"},
    };
    for (const auto& [edit, texto] : edits)
        EXPECT_EQ(edit->text(), QString::fromLatin1(texto)) << edit->objectName().toStdString();
    EXPECT_TRUE(FVentana->ModoManual());
    EXPECT_FALSE(FVentana->Conectado());
    EXPECT_TRUE(Ui().ActionManual->isChecked());
    EXPECT_FALSE(Ui().ActionActuador->isChecked());
    EXPECT_TRUE(Ui().PanelCalibrandoAcelerometros->isHidden());
    EXPECT_TRUE(Ui().LabelFicheroPerfil->text().isEmpty());
    EXPECT_TRUE(Ui().LabelFicheroPerfil->toolTip().isEmpty());
    EXPECT_EQ(TextoEstado(), QStringLiteral("Desconectado"));
    ASSERT_NE(FVentana->Grafica(), nullptr);
    // The actuator loaded: stopped, then switched off (each writes the
    // all-off byte), and output stays off.
    const std::vector<unsigned> parada {0, 0};
    EXPECT_EQ(FGrabacion.Valores(), parada);
    FVentana->EnviarOrden();
    EXPECT_EQ(FGrabacion.Valores(), parada);
}

TEST_F(Inicio, LosUmbralesSeLeenYSeGuardanAlSalir)
{
    struct Caso {
        const char* Nombre;
        const char* Contenido; // null: no file
        int AvRet;
        int Giro;
    } casos[] = {
        {"sin fichero", nullptr, 5, 5},
        {"fuera de rango", "[UMBRALES]\nAVRET=12\nGIRO=-3\n", 10, 0},
        {"no es un entero", "[UMBRALES]\nAVRET=abc\nGIRO=4\n", 5, 4},
        {"hexadecimal", "[umbrales]\navret= 0x7 \n", 7, 5},
        {"otras secciones", "; notas\n[OTRA]\nCLAVE=x\n[UMBRALES]\nGIRO=2\nOTRA=9\n[FIN]\nA=1\n", 5, 2},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.Nombre);
        QFile::remove(FicheroIni());
        if (caso.Contenido)
            EscribirIni(caso.Contenido);
        Crear();
        EXPECT_EQ(Ui().TrackBarUmbralAvRet->value(), caso.AvRet);
        EXPECT_EQ(Ui().TrackBarUmbralGiro->value(), caso.Giro);
        // The change handlers ran with the values read.
        EXPECT_TRUE(Ui().TrackBarUmbralAvRet->toolTip().endsWith(QStringLiteral("%1%").arg(caso.AvRet * 10)))
            << Ui().TrackBarUmbralAvRet->toolTip().toStdString();
        FVentana.reset();

        const TFicheroIni fichero(FicheroIni());
        EXPECT_EQ(fichero.LeerEntero(QStringLiteral("UMBRALES"), QStringLiteral("AVRET"), -1), caso.AvRet);
        EXPECT_EQ(fichero.LeerEntero(QStringLiteral("UMBRALES"), QStringLiteral("GIRO"), -1), caso.Giro);
        EXPECT_TRUE(FErrores.empty());
    }
    // Every other line survives the exit as it was.
    const QByteArray guardado = LeerIni();
    for (const char* linea : {"; notas\n", "[OTRA]\nCLAVE=x\n", "OTRA=9\n", "[FIN]\nA=1\n"})
        EXPECT_TRUE(guardado.contains(linea)) << linea << " in " << guardado.toStdString();
}

TEST_F(Inicio, LoQueElOperadorCambiaSeGuardaAlSalir)
{
    Crear();
    Ui().TrackBarUmbralAvRet->setValue(8);
    Ui().TrackBarUmbralGiro->setValue(1);
    FVentana.reset();
    const TFicheroIni fichero(FicheroIni());
    EXPECT_EQ(fichero.LeerEntero(QStringLiteral("UMBRALES"), QStringLiteral("AVRET"), -1), 8);
    EXPECT_EQ(fichero.LeerEntero(QStringLiteral("UMBRALES"), QStringLiteral("GIRO"), -1), 1);
}

TEST_F(Inicio, UnFicheroDeAjustesQueNoSePuedeEscribirSeAvisaUnaVez)
{
    // A folder where the file should be: read as missing, never writable.
    ASSERT_TRUE(QDir(FCarpeta.path()).mkdir(QStringLiteral("gedanko.ini")));
    Crear();
    EXPECT_EQ(Ui().TrackBarUmbralAvRet->value(), 5);
    FVentana.reset();
    EXPECT_EQ(FErrores, std::vector<QString> {QStringLiteral("Unable to write to ") + FicheroIni() + u'.'});
}

TEST(ErrorAplicacion, TerminaEnPuntoSalvoQueYaAcabeEnPuntuacion)
{
    const std::pair<const char*, const char*> casos[] = {
        {"Unable to write to /x/gedanko.ini", "Unable to write to /x/gedanko.ini."},
        {"Fallo.", "Fallo."},
        {"¿Fallo?", "¿Fallo?"},
        {"Fallo!", "Fallo!"},
        {"", ""},
    };
    for (const auto& [mensaje, texto] : casos)
        EXPECT_EQ(TFMain::TextoErrorAplicacion(QString::fromUtf8(mensaje)), QString::fromUtf8(texto));
}

TEST(Aplicacion, SinPantallaExplicaComoEjecutarloYTerminaConError)
{
    QProcess programa;
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        entorno.remove(QString::fromLatin1(variable));
    programa.setProcessEnvironment(entorno);
    programa.start(QStringLiteral(GEDANKO_PROGRAMA), {});
    ASSERT_TRUE(programa.waitForFinished(30000));
    EXPECT_EQ(programa.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(programa.exitCode(), 1);
    const QString salida = QString::fromUtf8(programa.readAllStandardError());
    EXPECT_TRUE(salida.contains(QStringLiteral("pantalla"))) << salida.toStdString();
    // The hint names the program as it was started, so it works from anywhere.
    EXPECT_TRUE(salida.contains(QStringLiteral("xvfb-run -a " GEDANKO_PROGRAMA "\n"))) << salida.toStdString();
}

// Registered to run without the recording library: the program's folder then
// offers only our own port library, which finds no port here.
// The output destination from [SALIDA] Destino: the tool button's hint names
// it, and one that cannot be opened gives two error lines and no output.
TEST_F(Inicio, ElDestinoDeSalidaSeLeeDelFicheroYLoNombraLaPista)
{
    struct TCaso {
        QByteArray Contenido;
        QString Pista;
        std::vector<QString> Errores;
    };
    const TCaso casos[] = {
        {"[UMBRALES]\nAVRET=5\n", QStringLiteral("Control del puerto paralelo"), {}},
        {"[SALIDA]\nDestino=paralelo\n", QStringLiteral("Control del puerto paralelo"), {}},
        {"[salida]\ndestino = udp:127.0.0.1:9 ; el coche\n",
         QStringLiteral("Control de la salida udp:127.0.0.1:9"),
         {}},
        {"[SALIDA]\nDestino=serie:/dev/gedanko-no-existe,9600\n",
         QStringLiteral("Control de la salida serie:/dev/gedanko-no-existe,9600"),
         {QStringLiteral("E Error abriendo la salida"),
          QStringLiteral("E no existe /dev/gedanko-no-existe: conecte la placa o corrija Destino en gedanko.ini")}},
        {"[SALIDA]\nDestino=usb\n",
         QStringLiteral("Control del puerto paralelo"),
         {QStringLiteral("E Error abriendo la salida"),
          QStringLiteral("E Destino de salida no válido «usb»: use paralelo, serie:/dev/ttyACM0[,baudios] o "
                         "udp:equipo:puerto")}},
    };
    for (const TCaso& caso : casos) {
        SCOPED_TRACE(caso.Contenido.toStdString());
        EscribirIni(caso.Contenido);
        Crear();
        EXPECT_EQ(Ui().ActionActuador->toolTip(), caso.Pista);
        const std::vector<QString> errores = RegistroDesde(2);
        EXPECT_EQ(errores, caso.Errores);
        Ui().ActionActuador->trigger();
        EXPECT_EQ(Ui().ActionActuador->isChecked(), caso.Errores.empty());
        FVentana.reset();
    }
}

class ProgramaSinPuerto : public Inicio { };

TEST_F(ProgramaSinPuerto, ElErrorDelActuadorEsLaTerceraLineaYSuCausaLaCuarta)
{
    Crear();
    const std::vector<QString> registro = Registro();
    ASSERT_EQ(registro.size(), 4u);
    EXPECT_EQ(registro[2], QStringLiteral("E Error cargando dll"));
    // Which cause depends on the machine; every one says where to read on.
    EXPECT_TRUE(registro[3].startsWith(QStringLiteral("E "))) << registro[3].toStdString();
    EXPECT_TRUE(registro[3].contains(QStringLiteral("docs/puerto.md"))) << registro[3].toStdString();
    // Output cannot be switched on.
    Ui().ActionActuador->trigger();
    EXPECT_FALSE(Ui().ActionActuador->isChecked());
}

} // namespace

// A session that ends by signal (log-off, Ctrl-C) closes the program as the
// operator would: its shutdown runs and it ends normally, not by the signal.
TEST(Aplicacion, UnaSenalDeFinDeSesionCierraElProgramaConNormalidad)
{
    for (const int senal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(senal);
        QTemporaryDir carpeta;
        const QString bytes = carpeta.filePath(QStringLiteral("bytes.txt"));
        QProcess programa;
        QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
        entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        entorno.insert(QStringLiteral("GEDANKO_GRABADOR"), bytes);
        programa.setProcessEnvironment(entorno);
        programa.start(QStringLiteral(GEDANKO_PROGRAMA), {});
        ASSERT_TRUE(programa.waitForStarted(10000));
        // Start-up stops the port twice once the window is being built.
        const auto lineas = [&] {
            QFile fichero(bytes);
            return fichero.open(QIODevice::ReadOnly) ? fichero.readAll().count('\n') : 0;
        };
        ASSERT_TRUE(QTest::qWaitFor([&] { return lineas() >= 2; }, 20000));
        ::kill(pid_t(programa.processId()), senal);
        ASSERT_TRUE(programa.waitForFinished(20000));
        EXPECT_EQ(programa.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(programa.exitCode(), 0);
    }
}
