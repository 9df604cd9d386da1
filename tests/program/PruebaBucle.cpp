// Whole runs of the control loop: the gates of each engine, the end of a run,
// failed connections, events of every kind with their log lines, the gyro
// re-zero and the profile load served by the loop, and one run at a time.
#include "Controles.h"
#include "DialogosPrueba.h"
#include "VentanaPrograma.h"

#include <QLabel>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <map>

namespace {

class Bucle : public VentanaPrograma {
protected:
    // Headset mode with port output on; the bytes written so far are skipped.
    void Preparar(int motor, std::unique_ptr<TDialogos> dialogos = nullptr)
    {
        Crear(std::move(dialogos));
        ModoCasco(motor);
        ActivarSalida();
        FBytesPrevios = FGrabacion.Valores().size();
        LimpiarRegistro();
    }

    std::vector<unsigned> Bytes() const
    {
        const std::vector<unsigned> todos = FGrabacion.Valores();
        return {todos.begin() + std::min(FBytesPrevios, todos.size()), todos.end()};
    }

    // Index of a recorded engine call, or -1.
    static int Posicion(const std::string& prefijo, int desde = 0)
    {
        const auto& llamadas = MotorPrueba().Llamadas();
        for (int i = desde; i < int(llamadas.size()); ++i)
            if (llamadas[i].rfind(prefijo, 0) == 0)
                return i;
        return -1;
    }

    void EsperarDesconectado()
    {
        EXPECT_FALSE(FVentana->Conectado());
        EXPECT_TRUE(Ui().ActionConectar->isVisible());
        EXPECT_FALSE(Ui().ActionDesconectar->isVisible());
        EXPECT_TRUE(Ui().RadioGroupMotor->isEnabled());
        EXPECT_TRUE(MotorPrueba().TodoLiberado());
        EXPECT_TRUE(MotorPrueba().Anomalias().empty());
    }

    std::size_t FBytesPrevios = 0;
};

TEST_F(Bucle, LasPuertasDeCadaEstadoDecidenSiConduce)
{
    TEstadoPrueba sinSenal = EstadoApretando(0.8f);
    sinSenal.Senal = 1;
    TEstadoPrueba contactoMalo = EstadoApretando(0.8f);
    contactoMalo.Contactos[17] = 1; // a channel that no electrode shows
    struct Caso {
        const char* Nombre;
        int Motor;
        TEstadoPrueba Estado;
        QString Indicador;
        std::vector<unsigned> Bytes; // UserAdded, EmoState, end of the run
    } casos[] = {
        {"EmoEngine sin perfil", 0, EstadoApretando(0.8f), QStringLiteral("Sin Perfil"), {0, 0, 0}},
        {"EmoComposer", 1, EstadoApretando(0.8f), QStringLiteral("Conectado"), {0, 1, 0}},
        {"señal mala", 1, sinSenal, QStringLiteral("No Enlazado"), {0, 0, 0}},
        {"contacto malo", 1, contactoMalo, QStringLiteral("Señal Ruidosa"), {0, 0, 0}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.Nombre);
        MotorPrueba().Reiniciar();
        Preparar(caso.Motor);
        MotorPrueba().EncolarEvento(EE_UserAdded);
        MotorPrueba().EncolarEstado(caso.Estado);
        QString indicador;
        Ejecutar([&] {
            if (MotorPrueba().EventosPendientes() > 0)
                return false;
            indicador = TextoEstado();
            return true;
        });
        EXPECT_EQ(indicador, caso.Indicador);
        EXPECT_EQ(Bytes(), caso.Bytes);
        EsperarDesconectado();
        FVentana.reset();
    }
}

TEST_F(Bucle, UnEstadoQueNoSePuedeLeerSeRegistraComoEventoYReenviaLaOrden)
{
    Preparar(1);
    MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
    MotorPrueba().EncolarResultado("EE_EmoEngineEventGetEmoState", 0x0300);
    EjecutarHastaVaciar();
    const std::vector<QString> registro = Registro();
    EXPECT_NE(std::find(registro.begin(), registro.end(), QStringLiteral("S EE_EmoStateUpdated")), registro.end());
    EXPECT_EQ(Bytes(), (std::vector<unsigned> {0, 0}));
}

TEST_F(Bucle, DesconectarConElMotorCalladoTerminaLaEjecucion)
{
    struct Caso {
        int Codigo;
        std::vector<QString> Final;
    } casos[] = {
        {0, {QStringLiteral("I Desconectado")}},
        {0x0500, {QStringLiteral("E Error desconectando"), QStringLiteral("E 1280:")}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.Codigo);
        MotorPrueba().Reiniciar();
        Preparar(1);
        MotorPrueba().FijarResultado("EE_EngineDisconnect", caso.Codigo);
        int pasadas = 0;
        Ejecutar([&] { return ++pasadas > 3; });
        EXPECT_EQ(Bytes(), std::vector<unsigned> {0});
        EXPECT_EQ(MotorPrueba().Cuenta("EE_EngineDisconnect"), 1);
        const std::vector<QString> registro = Registro();
        ASSERT_GE(registro.size(), caso.Final.size());
        for (std::size_t i = 0; i < caso.Final.size(); ++i)
            EXPECT_TRUE(registro[registro.size() - caso.Final.size() + i].startsWith(caso.Final[i]));
        // The connection is released and the window disconnected all the same.
        EsperarDesconectado();
        FVentana.reset();
    }
}

// A quiet engine must not keep a processor busy: between polls the loop
// rests, a millisecond while events came lately and longer after a quiet
// spell. A loop that spun would poll tens of thousands of times here.
TEST_F(Bucle, UnMotorCalladoNoOcupaElProcesador)
{
    const auto sondeos = [this](std::int64_t silencio) {
        MotorPrueba().Reiniciar();
        Preparar(1);
        FAhora = 0;
        // Once the run is under way (connecting pumps messages too).
        QTimer::singleShot(20, FVentana.get(), [this, silencio] { FAhora = silencio; });
        QTimer::singleShot(300, FVentana.get(), [this] { Ui().ActionDesconectar->trigger(); });
        Ui().ActionConectar->trigger();
        EsperarDesconectado();
        FVentana.reset();
        return MotorPrueba().Cuenta("EE_EngineGetNextEvent");
    };
    const int reciente = sondeos(0);
    const int callado = sondeos(TFMain::ReposoTras);
    EXPECT_LT(reciente, 600);
    EXPECT_LT(callado, 60);
    EXPECT_GT(reciente, 2 * callado);
}

// A failed connection logs what failed and the engine's error; when nothing
// answered at the emulator's address, also how to start one there.
TEST_F(Bucle, UnaConexionFallidaRegistraQuePasoYQueHacer)
{
    struct Caso {
        int Motor;
        const char* Funcion;
        int Codigo;
        const char* Ip1;
        const char* Puerto;
        QString Contexto;
        std::vector<QString> Consejo;
    } casos[] = {
        {0, "EE_EngineConnect", 0x0500, "127", "1726", QStringLiteral("E Fallo iniciando el Engine Emotiv"), {}},
        {1,
         "EE_EngineRemoteConnect",
         0x0502,
         "127",
         "1726",
         QStringLiteral("E No se puede conectar con EmoComposer en 127.0.0.1:1726"),
         {QStringLiteral("I Si el emulador no está en marcha en este equipo, arránquelo"),
          QStringLiteral("I con «gedanko-emulador» y pulse Conectar de nuevo")}},
        {1,
         "EE_EngineRemoteConnect",
         0x0302,
         "127",
         "1726",
         QStringLiteral("E No se puede conectar con EmoComposer en 127.0.0.1:1726"),
         {}},
        {1,
         "EE_EngineRemoteConnect",
         0x0502,
         "127",
         "3008",
         QStringLiteral("E No se puede conectar con EmoComposer en 127.0.0.1:3008"),
         {QStringLiteral("I Si el emulador no está en marcha en este equipo, arránquelo"),
          QStringLiteral("I con «gedanko-emulador --puerto 3008» y pulse Conectar de nuevo")}},
        {1,
         "EE_EngineRemoteConnect",
         0x0502,
         "10",
         "1726",
         QStringLiteral("E No se puede conectar con EmoComposer en 10.0.0.1:1726"),
         {QStringLiteral("I Si el emulador no está en marcha en 10.0.0.1, arránquelo"),
          QStringLiteral("I allí con «gedanko-emulador --direccion 0.0.0.0»")}},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.Contexto.toStdString());
        MotorPrueba().Reiniciar();
        Preparar(caso.Motor);
        Ui().EditIp1->setText(QString::fromLatin1(caso.Ip1));
        Ui().EditPuerto->setText(QString::fromLatin1(caso.Puerto));
        MotorPrueba().FijarResultado(caso.Funcion, caso.Codigo);
        Ejecutar([] { return true; });
        const std::vector<QString> registro = Registro();
        ASSERT_EQ(registro.size(), 2 + caso.Consejo.size());
        EXPECT_EQ(registro[0], caso.Contexto);
        EXPECT_TRUE(registro[1].startsWith(QStringLiteral("E %1:").arg(caso.Codigo, 4, 10, QLatin1Char('0'))))
            << registro[1].toStdString();
        EXPECT_EQ(std::vector<QString>(registro.begin() + 2, registro.end()), caso.Consejo);
        EXPECT_EQ(Bytes(), std::vector<unsigned> {0});
        EXPECT_EQ(MotorPrueba().Cuenta("EE_EngineGetNextEvent"), 0);
        EXPECT_EQ(MotorPrueba().Cuenta("EE_EngineDisconnect"), 0);
        EsperarDesconectado();
        FVentana.reset();
    }
}

TEST_F(Bucle, ElRegistroDeUnaEjecucionCompleta)
{
    Preparar(1);
    Ui().ActionEstados->trigger();
    ASSERT_TRUE(Ui().ActionEstados->isChecked());
    TEstadoPrueba apretando = EstadoApretando(0.8f);
    apretando.Tiempo = 2.5f;
    TEstadoPrueba sinSenal = EstadoApretando(0.8f);
    sinSenal.Senal = 1;
    MotorPrueba().EncolarEvento(EE_UserAdded);
    MotorPrueba().EncolarEstado(apretando);
    MotorPrueba().EncolarEstado(sinSenal); // rejected: no state line
    MotorPrueba().EncolarEvento(EE_ProfileEvent);
    MotorPrueba().EncolarEvento(EE_UserRemoved);
    EjecutarHastaVaciar();

    std::vector<QString> registro = Registro();
    ASSERT_GE(registro.size(), 3u);
    EXPECT_EQ(registro[0], QStringLiteral("I Conectado con EmoComposer en 127.0.0.1:1726"));
    EXPECT_EQ(registro[1], QStringLiteral("I Optimización activada"));
    // The optimisation report, however many lines it takes, is information.
    auto detectado = std::find(registro.begin(), registro.end(), QStringLiteral("I Dispositivo detectado"));
    ASSERT_NE(detectado, registro.end());
    for (auto linea = registro.begin() + 2; linea != detectado; ++linea)
        EXPECT_TRUE(linea->startsWith(QStringLiteral("I "))) << linea->toStdString();
    const std::vector<QString> resto(detectado, registro.end());
    const std::vector<QString> esperado = {
        QStringLiteral("I Dispositivo detectado"),
        QStringLiteral("S 2.500 Sen:2 Bat:4/5 Acc:0001 (0.00) Exp:0256 (0.80) Gir:0"),
        QStringLiteral("S EE_ProfileEvent"),
        QStringLiteral("I Dispositivo no detectado"),
        QStringLiteral("I Desconectado"),
    };
    EXPECT_EQ(resto, esperado);
}

TEST_F(Bucle, OptimizacionRechazadaSeRegistraYLaEjecucionSigue)
{
    Preparar(1);
    MotorPrueba().FijarResultado("EE_OptimizationEnable", 0x0800);
    MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
    EjecutarHastaVaciar();
    const std::vector<QString> registro = Registro();
    ASSERT_EQ(registro.size(), 4u);
    EXPECT_EQ(registro[1], QStringLiteral("E No se ha podido activar la optimización"));
    EXPECT_TRUE(registro[2].startsWith(QStringLiteral("E 2048:")));
    EXPECT_EQ(registro[3], QStringLiteral("I Desconectado"));
    EXPECT_EQ(Bytes(), (std::vector<unsigned> {1, 0}));
}

TEST_F(Bucle, UsuarioEliminadoMuestraSinCascoYDetieneElAvance)
{
    Preparar(1);
    TEstadoPrueba apretando = EstadoApretando(0.8f);
    apretando.Tiempo = 7.25f;
    MotorPrueba().EncolarEstado(apretando);
    MotorPrueba().EncolarEvento(EE_UserRemoved);
    QString tiempo;
    QString estado;
    Ejecutar([&] {
        if (MotorPrueba().EventosPendientes() > 0)
            return false;
        tiempo = Ui().LabelTiempoConexion->text();
        estado = TextoEstado();
        return true;
    });
    EXPECT_EQ(estado, QStringLiteral("Sin Casco"));
    EXPECT_EQ(tiempo, QStringLiteral("0.000"));
    EXPECT_EQ(Bytes(), (std::vector<unsigned> {1, 0, 0}));
}

TEST_F(Bucle, ElTiempoMostradoEsElDelEstadoAnterior)
{
    Preparar(1);
    TEstadoPrueba primero = EstadoBueno();
    primero.Tiempo = 1.5f;
    TEstadoPrueba segundo = EstadoBueno();
    segundo.Tiempo = 3.25f;
    MotorPrueba().EncolarEstado(primero);
    MotorPrueba().EncolarEstado(segundo);
    // The time on show when each EmoState's state line is written.
    Ui().ActionEstados->trigger();
    std::map<QString, QString> tiempoEnLinea;
    QObject::connect(Ui().RichEditRegistro, &TPanelRegistro::LineasAnadidas, [&] {
        const TPanelRegistro* panel = Ui().RichEditRegistro;
        const QString ultima = panel->Linea(panel->NumLineas() - 1);
        tiempoEnLinea.emplace(ultima.section(QLatin1Char(' '), 0, 0), Ui().LabelTiempoConexion->text());
    });
    EjecutarHastaVaciar();
    EXPECT_EQ(tiempoEnLinea[QStringLiteral("1.500")], QStringLiteral("0.000"));
    EXPECT_EQ(tiempoEnLinea[QStringLiteral("3.250")], QStringLiteral("1.500"));
}

TEST_F(Bucle, LaCargaDelPerfilSeAtiendeEnLaMismaPasadaTrasLasSalidas)
{
    struct Caso {
        int Codigo;
        std::vector<unsigned> Bytes; // three EmoStates, end of the run
        bool Cargado;
    } casos[] = {
        {0, {0, 0, 1, 0}, true},
        {0x0309, {0, 0, 0, 0}, false},
    };
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.Codigo);
        MotorPrueba().Reiniciar();
        const QString fichero = Ruta(QStringLiteral("operador ñ.emu"));
        Preparar(0, std::make_unique<TDialogosGrabados>(fichero));
        MotorPrueba().FijarResultado("EE_LoadUserProfile", caso.Codigo);
        MotorPrueba().Umbral = 300;
        for (int i = 0; i < 3; ++i)
            MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
        bool pedido = false;
        bool cargado = false;
        Ejecutar([&] {
            if (!pedido && MotorPrueba().EventosPendientes() == 2) {
                pedido = true;
                Ui().ActionCargaPerfil->trigger();
                EXPECT_FALSE(Ui().ActionCargaPerfil->isEnabled());
            }
            if (MotorPrueba().EventosPendientes() > 0)
                return false;
            cargado = ColorFondo(Ui().LabelFicheroPerfil) == QColor(255, 255, 0);
            return true;
        });
        EXPECT_EQ(Bytes(), caso.Bytes);
        EXPECT_EQ(cargado, caso.Cargado);
        // Served after the second EmoState was fetched, before the third poll.
        const int segundoEstado
            = Posicion("EE_EmoEngineEventGetEmoState", Posicion("EE_EmoEngineEventGetEmoState") + 1);
        const int carga = Posicion("EE_LoadUserProfile");
        ASSERT_GT(segundoEstado, 0);
        EXPECT_GT(carga, segundoEstado);
        EXPECT_LT(carga, Posicion("EE_EngineGetNextEvent", segundoEstado));
        EXPECT_EQ(MotorPrueba().LlamadasDe("EE_LoadUserProfile").size(), 1u);
        const std::vector<QString> registro = Registro();
        if (caso.Cargado) {
            EXPECT_EQ(FVentana->FicheroPerfil(), fichero);
            EXPECT_EQ(Ui().TrackBarAvance->value(), 300);
        } else {
            EXPECT_TRUE(FVentana->FicheroPerfil().isEmpty());
            EXPECT_NE(std::find(registro.begin(), registro.end(),
                                QStringLiteral("E Error cargando el perfil desde ") + fichero),
                      registro.end());
        }
        FVentana.reset();
    }
}

TEST_F(Bucle, CentrarElGiroscopioMuestraElPanelDuranteLasDosEsperas)
{
    struct Caso {
        int Codigo;
        bool LineaError;
    } casos[] = {{0, false}, {0x0700, true}};
    for (const Caso& caso : casos) {
        SCOPED_TRACE(caso.Codigo);
        MotorPrueba().Reiniciar();
        FEsperas.clear();
        FPanelEnEspera.clear();
        Preparar(1);
        MotorPrueba().FijarResultado("EE_HeadsetGyroRezero", caso.Codigo);
        bool pedido = false;
        int tras = 0;
        Ejecutar([&] {
            if (!pedido && Ui().ActionCentrarCasco->isEnabled()) {
                pedido = true;
                Ui().ActionCentrarCasco->trigger();
                MotorPrueba().EncolarEstado(EstadoApretando(0.8f));
            }
            return pedido && MotorPrueba().EventosPendientes() == 0 && ++tras > 1;
        });
        EXPECT_EQ(FEsperas, (std::vector<int> {1000, 1000}));
        EXPECT_EQ(FPanelEnEspera, (std::vector<bool> {true, true}));
        EXPECT_TRUE(Ui().PanelCalibrandoAcelerometros->isHidden());
        EXPECT_EQ(MotorPrueba().Cuenta("EE_HeadsetGyroRezero"), 1);
        // Forward stops before the waits; the EmoState that served the
        // request is two seconds old afterwards and no longer drives.
        EXPECT_EQ(Bytes(), (std::vector<unsigned> {0, 0, 0}));
        const std::vector<QString> registro = Registro();
        const bool hayError = std::any_of(registro.begin(), registro.end(), [](const QString& linea) {
            return linea.startsWith(QStringLiteral("E 1792:"));
        });
        EXPECT_EQ(hayError, caso.LineaError);
        FVentana.reset();
    }
}

TEST_F(Bucle, UnSegundoConectarDuranteLaConexionNoIniciaOtraEjecucion)
{
    Preparar(1);
    bool clicado = false;
    // Runs inside the first log line's pump, while "Conectar" is still on show.
    QTimer::singleShot(0, FVentana.get(), [&] {
        clicado = Ui().ActionConectar->isVisible() && Ui().ActionConectar->isEnabled();
        Ui().ActionConectar->trigger();
    });
    int pasadas = 0;
    Ejecutar([&] { return ++pasadas > 2; });
    EXPECT_TRUE(clicado);
    EXPECT_EQ(MotorPrueba().Cuenta("EE_EngineRemoteConnect"), 1);
    EXPECT_EQ(MotorPrueba().Cuenta("EE_EngineDisconnect"), 1);
    EsperarDesconectado();
}

TEST_F(Bucle, CerrarSeRechazaMientrasEstaConectadoYSeAceptaDespues)
{
    Preparar(1);
    FVentana->show();
    bool cerradaConectada = true;
    std::size_t lineas = 0;
    int pasadas = 0;
    Ejecutar([&] {
        if (++pasadas == 2) {
            lineas = Registro().size();
            cerradaConectada = FVentana->close();
            EXPECT_TRUE(FVentana->isVisible());
            EXPECT_EQ(Registro().size(), lineas);
        }
        return pasadas > 3;
    });
    EXPECT_FALSE(cerradaConectada);
    EXPECT_TRUE(FVentana->close());
    EXPECT_FALSE(FVentana->isVisible());
}

TEST_F(Bucle, CerrarMientrasConectaTerminaLaEjecucionSinDestruirLaVentana)
{
    Preparar(1);
    FVentana->show();
    bool aceptado = false;
    // Runs inside the connected line's pump, before the run counts as connected.
    QTimer::singleShot(0, FVentana.get(), [&] { aceptado = FVentana->close(); });
    int pasadas = 0;
    Ejecutar([&] { return ++pasadas > 20; });
    EXPECT_TRUE(aceptado);
    EXPECT_FALSE(FVentana->isVisible());
    EXPECT_EQ(MotorPrueba().Cuenta("EE_EngineGetNextEvent"), 0);
    EXPECT_EQ(Registro().back(), QStringLiteral("I Desconectado"));
    EsperarDesconectado();
}

} // namespace
