#include "Conexion.h"

#include "EscalasCasco.h"
#include "Formato.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <dlfcn.h>

const std::array<int, NumElectrodos> TConexion::CanalDeElectrodo = {
    3, 16, 5, 14, 4, 15, 6, 13, 7, 12, 0, 1, 8, 11, 9, 10,
};

namespace {

constexpr std::uint32_t AccionesVitalesCognitivas = ACC_COG_NEUTRAL | ACC_COG_TIRAR;
constexpr std::uint32_t AccionesVitalesExpresivas = ACC_EXP_NEUTRAL | ACC_EXP_APRETAR_DIENTES;

// Nearest integer, halves to even (the default rounding mode), limited to
// 0..maximo; a value that is not a number gives 0.
int RedondearAcotado(double valor, int maximo)
{
    double redondeado = std::nearbyint(valor);
    if (!(redondeado >= 0))
        return 0;
    return redondeado > maximo ? maximo : static_cast<int>(redondeado);
}

// A drive detection with its power 0..1 put on the reading scale. A power
// that is not finite is no reading, and the vehicle must not act on it.
void Detectar(TDireccion accion, float valor, TDireccion& direccion, unsigned& potencia)
{
    const bool valida = std::isfinite(valor);
    direccion = valida ? accion : dirNinguna;
    potencia = valida ? RedondearAcotado(double(valor) * EscalaLectura, EscalaLectura) : 0;
}

struct TNombre {
    std::uint32_t Bit;
    const char16_t* Nombre;
};

constexpr TNombre NombresCognitivos[] = {
    {ACC_COG_NEUTRAL, u"COG.NEUTRAL "},
    {ACC_COG_EMPUJAR, u"EMPUJAR "},
    {ACC_COG_TIRAR, u"TIRAR "},
    {ACC_COG_ARRIBA, u"ARRIBA "},
    {ACC_COG_ABAJO, u"ABAJO "},
    {ACC_COG_IZQUIERDA, u"IZQUIERDA "},
    {ACC_COG_DERECHA, u"DERECHA "},
    {ACC_COG_ROT_IZQUIERDA, u"ROT.IZQUIERDA "},
    {ACC_COG_ROT_DERECHA, u"ROT.DERECHA "},
    {ACC_COG_ROT_RELOJ, u"ROT.SETNIDO RELOJ "},
    {ACC_COG_ROT_CONTRARRELOJ, u"ROT.SENTIDO CONTRARELOJ "},
    {ACC_COG_ROT_DIRECTA, u"ROT.DIRECTA "},
    {ACC_COG_ROT_INVERSA, u"ROT.INVERSA "},
    {ACC_COG_DESVANECER, u"DESVANECER "},
};

constexpr TNombre NombresExpresivos[] = {
    {ACC_EXP_NEUTRAL, u"EXP.NEUTRAL "},
    {ACC_EXP_PARPADEAR, u"PARPADEAR "},
    {ACC_EXP_GUINO_IZQ, u"GUIÑO IZQ. "},
    {ACC_EXP_GUINO_DER, u"GUIÑO DER. "},
    {ACC_EXP_MIRAR_IZQ_DER, u"MIRAR IZQ-DER "},
    {ACC_EXP_SUBIR_ENTRECEJO, u"SUBIR ENTRECEJO "},
    {ACC_EXP_FRUNCIR_ENTRECEJO, u"FRUNCIR ENTRECEJO "},
    {ACC_EXP_SONREIR, u"SONREIR "},
    {ACC_EXP_APRETAR_DIENTES, u"APRETAR DIENTES "},
    {ACC_EXP_REIR, u"REIR "},
    {ACC_EXP_MEJILLA_IZQ, u"MEJILLA IZQ. "},
    {ACC_EXP_MEJILLA_DER, u"MEJILLA DER. "},
};

template <std::size_t N> QString NombresDe(std::uint32_t acciones, const TNombre (&tabla)[N])
{
    QString texto;
    for (const TNombre& nombre : tabla)
        if (acciones & nombre.Bit)
            texto += QString::fromUtf16(nombre.Nombre);
    return texto;
}

struct TMensaje {
    std::int32_t Codigo;
    const char16_t* Texto;
};

constexpr TMensaje Mensajes[] = {
    {EDK_SIN_ERRORES, u"Sin errores"},
    {EDK_ERROR_INTERNO, u"Error interno"},
    {EDK_PERFIL_NO_VALIDO, u"Perfil de usuario no válido"},
    {EDK_PERFIL_SIN_USUARIO, u"Perfil no asociado con un usuario"},
    {EDK_SIN_DATOS_EEG, u"No es posible obtener datos de EEG"},
    {EDK_ALMACEN_INSUFICIENTE, u"El almacén suministrado no tiene suficiente espacio"},
    {EDK_FUERA_DE_RANGO, u"El parámetro está fuera de rango"},
    {EDK_PARAMETRO_NO_VALIDO, u"Uno de los parámetros no es válido"},
    {EDK_PARAMETRO_BLOQUEADO, u"El parámetro está bloqueado por una detección y no puede modificarse en este momento"},
    {EDK_ACCION_ENTRENAR_NO_VALIDA, u"La acción a entrenar no es válida"},
    {EDK_CONTROL_ENTRENAR_NO_VALIDO, u"El control a entrenar no es válido"},
    {EDK_CAMPO_VECTOR_NO_VALIDO, u"Uno de los campos del vector no es válido"},
    {EDK_DEMASIADAS_ACCIONES, u"El vector contiene más tipos de acciones que las permitidas"},
    {EDK_FIRMA_NO_DISPONIBLE, u"La firma entrenada no se encuenta disponible para su uso"},
    {EDK_ERROR_FICHEROS, u"Error del sistema de ficheros"},
    {EDK_USUARIO_NO_VALIDO, u"Identificador de usuario no válido"},
    {EDK_MOTOR_NO_INICIALIZADO, u"El motor Emotiv no se encuentra inicializado"},
    {EDK_CONEXION_REMOTA_PERDIDA, u"Se ha perdido la conexión remota con el motor Emotiv"},
    {EDK_CONEXION_REMOTA_IMPOSIBLE, u"No se puede realizar la conexión remota"},
    {EDK_SIN_EVENTOS, u"No hay nuevos eventos en este momento"},
    {EDK_GIROSCOPO_NO_CALIBRADO, u"Giróscopo no calibrado"},
    {EDK_FALLO_OPTIMIZACION, u"La operación ha fallado debido a la optimización"},
    {EDK_RESERVADO, u"Error reservado"},
};

struct TNombreEvento {
    std::int32_t Tipo;
    const char16_t* Nombre;
};

constexpr TNombreEvento NombresEvento[] = {
    {EE_UnknownEvent, u"EE_UnknownEvent"},
    {EE_EmulatorError, u"EE_EmulatorError"},
    {EE_ReservedEvent, u"EE_ReservedEvent"},
    {EE_UserAdded, u"EE_UserAdded"},
    {EE_UserRemoved, u"EE_UserRemoved"},
    {EE_EmoStateUpdated, u"EE_EmoStateUpdated"},
    {EE_ProfileEvent, u"EE_ProfileEvent"},
    {EE_CognitivEvent, u"EE_CognitivEvent"},
    {EE_ExpressivEvent, u"EE_ExpressivEvent"},
    {EE_InternalStateChanged, u"EE_InternalStateChanged"},
    {EE_AllEvent, u"EE_AllEvent"},
};

} // namespace

// --- Lifecycle and event reading -------------------------------------------

TConexion::TConexion() : FEvento(EE_EmoEngineEventCreate()), FEstado(EE_EmoStateCreate()) { }

TConexion::~TConexion()
{
    // Normally Desconectar has freed the parameter already; a caller that
    // skipped it must not leak it.
    if (FParamOptimizacion)
        EE_OptimizationParamFree(FParamOptimizacion);
    EE_EmoStateFree(FEstado);
    EE_EmoEngineEventFree(FEvento);
}

bool TConexion::ActivarOptimizacion()
{
    if (FParamOptimizacion)
        EE_OptimizationParamFree(FParamOptimizacion);
    FParamOptimizacion = EE_OptimizationParamCreate();
    FResultado = EE_OptimizationSetVitalAlgorithm(FParamOptimizacion, EDK_SUITE_COGNITIVA, AccionesVitalesCognitivas);
    if (FResultado == EDK_SIN_ERRORES)
        FResultado
            = EE_OptimizationSetVitalAlgorithm(FParamOptimizacion, EDK_SUITE_EXPRESIVA, AccionesVitalesExpresivas);
    if (FResultado == EDK_SIN_ERRORES)
        FResultado = EE_OptimizationEnable(FParamOptimizacion);
    return FResultado == EDK_SIN_ERRORES;
}

bool TConexion::Desconectar()
{
    EE_OptimizationDisable();
    if (FParamOptimizacion) {
        EE_OptimizationParamFree(FParamOptimizacion);
        FParamOptimizacion = nullptr;
    }
    FResultado = EE_EngineDisconnect();
    return FResultado == EDK_SIN_ERRORES;
}

bool TConexion::LeerEvento()
{
    FResultado = EE_EngineGetNextEvent(FEvento);
    if (FResultado != EDK_SIN_ERRORES)
        return false;
    FTipoEvento = EE_EmoEngineEventGetType(FEvento);
    unsigned usuario = FUsuario;
    FResultado = EE_EmoEngineEventGetUserId(FEvento, &usuario);
    FUsuario = usuario;
    return FResultado == EDK_SIN_ERRORES;
}

bool TConexion::LeerEstado()
{
    if (FTipoEvento != EE_EmoStateUpdated)
        return false;
    FResultado = EE_EmoEngineEventGetEmoState(FEvento, FEstado);
    if (FResultado != EDK_SIN_ERRORES)
        return false;
    FAccionCognitiva = ES_CognitivGetCurrentAction(FEstado);
    FPotenciaCognitiva = ES_CognitivGetCurrentActionPower(FEstado);
    FAccionExpresiva = ES_ExpressivGetLowerFaceAction(FEstado);
    FPotenciaExpresiva = ES_ExpressivGetLowerFaceActionPower(FEstado);
    FTiempo = ES_GetTimeFromStart(FEstado);
    FSenal = ES_GetWirelessSignalStatus(FEstado);
    int bateria = FBateria;
    int bateriaMax = FBateriaMax;
    ES_GetBatteryChargeLevel(FEstado, &bateria, &bateriaMax);
    FBateria = bateria;
    FBateriaMax = bateriaMax;
    std::array<int, EDK_NUM_CANALES> contactos;
    std::copy(FContactos.begin(), FContactos.end(), contactos.begin());
    ES_GetContactQualityFromAllChannels(FEstado, contactos.data(), contactos.size());
    std::copy(contactos.begin(), contactos.end(), FContactos.begin());
    return true;
}

bool TConexion::UsuarioAnadido() const
{
    return FTipoEvento == EE_UserAdded;
}

bool TConexion::UsuarioEliminado() const
{
    return FTipoEvento == EE_UserRemoved;
}

// --- Queries on the last EmoState -----------------------------------------

void TConexion::AccionDetectada(TDireccion& direccion, unsigned& potencia) const
{
    if (FAccionCognitiva == ACC_COG_TIRAR) {
        Detectar(dirRetroceso, FPotenciaCognitiva, direccion, potencia);
    } else if (FAccionExpresiva == ACC_EXP_APRETAR_DIENTES) {
        Detectar(dirAvance, FPotenciaExpresiva, direccion, potencia);
    } else if (FAccionCognitiva == ACC_COG_NEUTRAL || FAccionExpresiva == ACC_EXP_NEUTRAL) {
        direccion = dirNeutral;
        potencia = 0;
    } else {
        direccion = dirNinguna;
        potencia = 0;
    }
}

TNivelSenal TConexion::NivelSenal() const
{
    switch (FSenal) {
    case EDK_SIN_SENAL:
        return nsSinSenal;
    case EDK_SENAL_MALA:
        return nsMala;
    case EDK_SENAL_BUENA:
        return nsBuena;
    default:
        return nsSinEstado;
    }
}

float TConexion::Tiempo() const
{
    return FTiempo;
}

void TConexion::NivelBateria(int& nivel, int& maximo) const
{
    nivel = FBateria;
    maximo = FBateriaMax;
}

void TConexion::CalidadContacto(std::array<int, NumElectrodos>& valores, bool& utilizables) const
{
    // A value outside the contact scale is not a contact quality: it never
    // counts as usable, and the display gets the nearest value it can paint.
    utilizables = std::all_of(FContactos.begin(), FContactos.end(),
                              [](std::int32_t v) { return v >= ContactoUtilizable && v <= ContactoMaximo; });
    for (int i = 0; i < NumElectrodos; ++i)
        valores[i] = std::clamp<std::int32_t>(FContactos[CanalDeElectrodo[i]], ContactoMinimo, ContactoMaximo);
}

// --- Detection tuning, profile and gyro -------------------------------------

bool TConexion::CargarPerfil(const char* fichero)
{
    if (!fichero) {
        FResultado = EDK_PARAMETRO_NO_VALIDO;
        return false;
    }
    FResultado = EE_LoadUserProfile(FUsuario, fichero);
    return FResultado == EDK_SIN_ERRORES;
}

bool TConexion::FijarSensibilidadAvance(int valor)
{
    FResultado = EE_ExpressivSetThreshold(FUsuario, ACC_EXP_APRETAR_DIENTES, EDK_UMBRAL_SENSIBILIDAD, valor);
    return FResultado == EDK_SIN_ERRORES;
}

int TConexion::SensibilidadAvance()
{
    int valor = 0;
    FResultado = EE_ExpressivGetThreshold(FUsuario, ACC_EXP_APRETAR_DIENTES, EDK_UMBRAL_SENSIBILIDAD, &valor);
    return static_cast<int>(std::min<std::int64_t>(std::llabs(valor), SensibilidadAvanceMaxima));
}

int TConexion::RanuraTirar()
{
    FAccionTirarInactiva = false;
    unsigned activas = 0;
    FResultado = EE_CognitivGetActiveActions(FUsuario, &activas);
    if (FResultado != EDK_SIN_ERRORES)
        return SinRanura;
    const int ranura = RanuraCognitiva(activas, ACC_COG_TIRAR, ACC_COG_NEUTRAL);
    FAccionTirarInactiva = ranura == SinRanura;
    return ranura;
}

bool TConexion::FijarSensibilidadRetroceso(int valor)
{
    const int ranura = RanuraTirar();
    if (ranura == SinRanura)
        return false;
    std::array<int, NumRanurasCognitivas> s {};
    FResultado = EE_CognitivGetActionSensitivity(FUsuario, &s[0], &s[1], &s[2], &s[3]);
    if (FResultado != EDK_SIN_ERRORES)
        return false;
    s[ranura] = valor;
    FResultado = EE_CognitivSetActionSensitivity(FUsuario, s[0], s[1], s[2], s[3]);
    return FResultado == EDK_SIN_ERRORES;
}

int TConexion::SensibilidadRetroceso()
{
    const int ranura = RanuraTirar();
    if (ranura == SinRanura)
        return FAccionTirarInactiva ? SensibilidadCognitivaNeutra : SensibilidadCognitivaMinima;
    std::array<int, NumRanurasCognitivas> s {};
    FResultado = EE_CognitivGetActionSensitivity(FUsuario, &s[0], &s[1], &s[2], &s[3]);
    if (FResultado != EDK_SIN_ERRORES)
        return SensibilidadCognitivaMinima;
    return static_cast<int>(
        std::clamp<std::int64_t>(std::llabs(s[ranura]), SensibilidadCognitivaMinima, SensibilidadCognitivaMaxima));
}

float TConexion::NivelEntrenamiento()
{
    float nivel = 0;
    return EE_CognitivGetOverallSkillRating(FUsuario, &nivel) == EDK_SIN_ERRORES ? nivel : 0.0f;
}

void TConexion::LeerGiro(TGiro& giro)
{
    giro = giroNinguno;
    const std::int64_t anterior = FGiroX;
    if (FResultado != EDK_SIN_ERRORES)
        return;
    int dx = FGiroX;
    int dy = 0;
    FResultado = EE_HeadsetGetGyroDelta(FUsuario, &dx, &dy);
    if (FResultado != EDK_SIN_ERRORES) {
        FGiroX = 0;
        return;
    }
    FGiroX = dx;
    const std::int64_t actual = FGiroX;
    if (std::llabs(actual) <= LimiteGiro)
        return;
    if (actual > 0 && actual > anterior)
        giro = giroDerecha;
    else if (actual < 0 && actual < anterior)
        giro = giroIzquierda;
}

int TConexion::IntensidadGiro() const
{
    double intensidad = std::fabs(std::nearbyint(double(FGiroX) / GiroPorMagnitud));
    return static_cast<int>(std::min(intensidad, double(EscalaLectura)));
}

TLectura TConexion::LeerLectura()
{
    TLectura lectura;
    unsigned potencia = 0;
    AccionDetectada(lectura.Direccion, potencia);
    lectura.Potencia = potencia;
    LeerGiro(lectura.Giro);
    lectura.MagnitudGiro = static_cast<std::uint32_t>(IntensidadGiro());
    return lectura;
}

bool TConexion::CentrarGiroscopio()
{
    FResultado = EE_HeadsetGyroRezero(FUsuario);
    return FResultado == EDK_SIN_ERRORES;
}

// --- Texts for the log --------------------------------------------------------

QString TConexion::TextoError() const
{
    QString mensaje = QStringLiteral("Error no catalogado");
    for (const TMensaje& m : Mensajes)
        if (m.Codigo == FResultado)
            mensaje = QString::fromUtf16(m.Texto);
    return FormatearNumero(FResultado, u"0000") + u':' + mensaje;
}

QString TConexion::TextoEvento() const
{
    for (const TNombreEvento& e : NombresEvento)
        if (e.Tipo == FTipoEvento)
            return QString::fromUtf16(e.Nombre);
    return QStringLiteral("----");
}

QString TConexion::TextoAccionesCognitivas(std::uint32_t acciones)
{
    return NombresDe(acciones, NombresCognitivos);
}

QString TConexion::TextoAccionesExpresivas(std::uint32_t acciones)
{
    return NombresDe(acciones, NombresExpresivos);
}

QString TConexion::TextoEstado() const
{
    return FormatearNumero(FTiempo, u"0.000") + QStringLiteral(" Sen:") + FormatearNumero(FSenal, u"0")
           + QStringLiteral(" Bat:") + FormatearNumero(FBateria, u"0") + u'/' + FormatearNumero(FBateriaMax, u"0")
           + QStringLiteral(" Acc:") + FormatearNumero(FAccionCognitiva, u"0000") + QStringLiteral(" (")
           + FormatearNumero(FPotenciaCognitiva, u"0.00") + u')' + QStringLiteral(" Exp:")
           + FormatearNumero(FAccionExpresiva, u"0000") + QStringLiteral(" (")
           + FormatearNumero(FPotenciaExpresiva, u"0.00") + u')' + QStringLiteral(" Gir:")
           + FormatearNumero(FGiroX, u"0");
}

QString TConexion::TextoPerfil() const
{
    const QChar salto = u'\n';
    unsigned palabra = 0;
    QString texto = QStringLiteral("Firmas Cognitivas Entrenadas: ");
    if (EE_CognitivGetTrainedSignatureActions(FUsuario, &palabra) == EDK_SIN_ERRORES)
        texto += TextoAccionesCognitivas(palabra);

    texto += salto + QStringLiteral("Acciones Cognitivas Activas: ");
    palabra = 0;
    int ranura = SinRanura;
    if (EE_CognitivGetActiveActions(FUsuario, &palabra) == EDK_SIN_ERRORES) {
        texto += TextoAccionesCognitivas(palabra);
        ranura = RanuraCognitiva(palabra, ACC_COG_TIRAR, ACC_COG_NEUTRAL);
    }

    std::array<int, NumRanurasCognitivas> s {};
    if (ranura != SinRanura && EE_CognitivGetActionSensitivity(FUsuario, &s[0], &s[1], &s[2], &s[3]) == EDK_SIN_ERRORES)
        texto += salto + QStringLiteral("Sesibilidad Retroceso: ") + FormatearNumero(s[ranura], u"0");

    float nivel = 0;
    if (EE_CognitivGetOverallSkillRating(FUsuario, &nivel) == EDK_SIN_ERRORES)
        texto += salto + QStringLiteral("Nivel de Entrenamiento Cognitivo: ")
                 + FormatearNumero(double(nivel) * 100, u"0.00%");

    texto += salto + QStringLiteral("Firmas Expresivas Entrenadas: ");
    palabra = 0;
    if (EE_ExpressivGetTrainedSignatureActions(FUsuario, &palabra) == EDK_SIN_ERRORES)
        texto += TextoAccionesExpresivas(palabra);

    int umbral = 0;
    if (EE_ExpressivGetThreshold(FUsuario, ACC_EXP_APRETAR_DIENTES, EDK_UMBRAL_SENSIBILIDAD, &umbral)
        == EDK_SIN_ERRORES)
        texto += salto + QStringLiteral("Sensibilidad Avance: ") + FormatearNumero(umbral, u"0");
    return texto;
}

// Looked up at run time: it is no part of the engine interface, and another
// engine library must still load.
int TConexion::DescriptorEventos()
{
    using TFuncion = int (*)();
    static const auto funcion = reinterpret_cast<TFuncion>(::dlsym(RTLD_DEFAULT, "EDK_DescriptorEventos"));
    return funcion ? funcion() : -1;
}

QString TConexion::TextoOptimizacion()
{
    unsigned palabra = 0;
    FResultado = EE_OptimizationGetVitalAlgorithm(FParamOptimizacion, EDK_SUITE_COGNITIVA, &palabra);
    if (FResultado != EDK_SIN_ERRORES)
        return QString();
    QString texto = TextoAccionesCognitivas(palabra);
    palabra = 0;
    FResultado = EE_OptimizationGetVitalAlgorithm(FParamOptimizacion, EDK_SUITE_EXPRESIVA, &palabra);
    if (FResultado != EDK_SIN_ERRORES)
        return texto;
    return texto + u' ' + TextoAccionesExpresivas(palabra);
}
