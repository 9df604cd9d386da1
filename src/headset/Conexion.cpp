#include "Conexion.h"

#include "Formato.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

const std::array<int, TConexion::NumElectrodos> TConexion::CanalDeElectrodo = {
    3, 16, 5, 14, 4, 15, 6, 13, 7, 12, 0, 1, 8, 11, 9, 10,
};

namespace {

constexpr std::uint32_t AccionesVitalesCognitivas = ACC_COG_NEUTRAL | ACC_COG_TIRAR;
constexpr std::uint32_t AccionesVitalesExpresivas = ACC_EXP_NEUTRAL | ACC_EXP_APRETAR_DIENTES;
constexpr int LimiteGiro = 50; // a gyro change must exceed this to turn
constexpr int SensibilidadAvanceMaxima = 1000;
constexpr int SensibilidadRetrocesoMinima = 1;
constexpr int SensibilidadRetrocesoMaxima = 9;
constexpr int SensibilidadRetrocesoSinTirar = 5; // the engine's neutral setting
constexpr std::size_t NumRanurasCognitivas = 4;
constexpr int SinRanura = -1;
constexpr int ContactoMinimo = 0;
constexpr int ContactoUtilizable = 2;
constexpr int ContactoMaximo = 4;
constexpr int PotenciaMaxima = 10;

// Nearest integer, halves to even (the default rounding mode), limited to
// 0..maximo; a value that is not a number gives 0.
int RedondearAcotado(double valor, int maximo)
{
    double redondeado = std::nearbyint(valor);
    if (!(redondeado >= 0))
        return 0;
    return redondeado > maximo ? maximo : static_cast<int>(redondeado);
}

// The engine numbers the sensitivity slots by the active cognitive actions
// other than neutral, lowest bit first.
int RanuraDe(std::uint32_t activas, std::uint32_t accion)
{
    activas &= ~std::uint32_t {ACC_COG_NEUTRAL};
    if ((activas & accion) == 0)
        return SinRanura;
    const auto ranura = static_cast<std::size_t>(std::popcount(activas & (accion - 1)));
    return ranura < NumRanurasCognitivas ? static_cast<int>(ranura) : SinRanura;
}

// A drive detection with its power 0..1 put on the 0..10 scale. A power that
// is not finite is no reading, and the vehicle must not act on it.
void Detectar(TDireccion accion, float valor, TDireccion& direccion, unsigned& potencia)
{
    const bool valida = std::isfinite(valor);
    direccion = valida ? accion : dirNinguna;
    potencia = valida ? RedondearAcotado(double(valor) * PotenciaMaxima, PotenciaMaxima) : 0;
}

struct TNombre {
    std::uint32_t Bit;
    const char16_t* Nombre;
};

constexpr TNombre NombresCognitivos[] = {
    {0x0001, u"COG.NEUTRAL "},
    {0x0002, u"EMPUJAR "},
    {0x0004, u"TIRAR "},
    {0x0008, u"ARRIBA "},
    {0x0010, u"ABAJO "},
    {0x0020, u"IZQUIERDA "},
    {0x0040, u"DERECHA "},
    {0x0080, u"ROT.IZQUIERDA "},
    {0x0100, u"ROT.DERECHA "},
    {0x0200, u"ROT.SETNIDO RELOJ "},
    {0x0400, u"ROT.SENTIDO CONTRARELOJ "},
    {0x0800, u"ROT.DIRECTA "},
    {0x1000, u"ROT.INVERSA "},
    {0x2000, u"DESVANECER "},
};

constexpr TNombre NombresExpresivos[] = {
    {0x0001, u"EXP.NEUTRAL "},       {0x0002, u"PARPADEAR "},
    {0x0004, u"GUIÑO IZQ. "},        {0x0008, u"GUIÑO DER. "},
    {0x0010, u"MIRAR IZQ-DER "},     {0x0020, u"SUBIR ENTRECEJO "},
    {0x0040, u"FRUNCIR ENTRECEJO "}, {0x0080, u"SONREIR "},
    {0x0100, u"APRETAR DIENTES "},   {0x0200, u"REIR "},
    {0x0400, u"MEJILLA IZQ. "},      {0x0800, u"MEJILLA DER. "},
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
    {0x0000, u"Sin errores"},
    {0x0001, u"Error interno"},
    {0x0101, u"Perfil de usuario no válido"},
    {0x0102, u"Perfil no asociado con un usuario"},
    {0x0200, u"No es posible obtener datos de EEG"},
    {0x0300, u"El almacén suministrado no tiene suficiente espacio"},
    {0x0301, u"El parámetro está fuera de rango"},
    {0x0302, u"Uno de los parámetros no es válido"},
    {0x0303, u"El parámetro está bloqueado por una detección y no puede modificarse en este momento"},
    {0x0304, u"La acción a entrenar no es válida"},
    {0x0305, u"El control a entrenar no es válido"},
    {0x0306, u"Uno de los campos del vector no es válido"},
    {0x0307, u"El vector contiene más tipos de acciones que las permitidas"},
    {0x0308, u"La firma entrenada no se encuenta disponible para su uso"},
    {0x0309, u"Error del sistema de ficheros"},
    {0x0400, u"Identificador de usuario no válido"},
    {0x0500, u"El motor Emotiv no se encuentra inicializado"},
    {0x0501, u"Se ha perdido la conexión remota con el motor Emotiv"},
    {0x0502, u"No se puede realizar la conexión remota"},
    {0x0600, u"No hay nuevos eventos en este momento"},
    {0x0700, u"Giróscopo no calibrado"},
    {0x0800, u"La operación ha fallado debido a la optimización"},
    {0x0900, u"Error reservado"},
};

struct TNombreEvento {
    std::int32_t Tipo;
    const char16_t* Nombre;
};

constexpr TNombreEvento NombresEvento[] = {
    {0x0000, u"EE_UnknownEvent"},   {0x0001, u"EE_EmulatorError"},
    {0x0002, u"EE_ReservedEvent"},  {0x0010, u"EE_UserAdded"},
    {0x0020, u"EE_UserRemoved"},    {0x0040, u"EE_EmoStateUpdated"},
    {0x0080, u"EE_ProfileEvent"},   {0x0100, u"EE_CognitivEvent"},
    {0x0200, u"EE_ExpressivEvent"}, {0x0400, u"EE_InternalStateChanged"},
    {0x07F0, u"EE_AllEvent"},
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
    std::array<int, NumCanales> contactos;
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

int TConexion::NivelSenal() const
{
    switch (FSenal) {
    case 0:
        return 1;
    case 1:
        return 2;
    case 2:
        return 3;
    default:
        return 0;
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
    // A value outside 0..4 is not a contact quality: it never counts as
    // usable, and the display gets the nearest value it can paint.
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
    const int ranura = RanuraDe(activas, ACC_COG_TIRAR);
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
        return FAccionTirarInactiva ? SensibilidadRetrocesoSinTirar : SensibilidadRetrocesoMinima;
    std::array<int, NumRanurasCognitivas> s {};
    FResultado = EE_CognitivGetActionSensitivity(FUsuario, &s[0], &s[1], &s[2], &s[3]);
    if (FResultado != EDK_SIN_ERRORES)
        return SensibilidadRetrocesoMinima;
    return static_cast<int>(
        std::clamp<std::int64_t>(std::llabs(s[ranura]), SensibilidadRetrocesoMinima, SensibilidadRetrocesoMaxima));
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
    double intensidad = std::fabs(std::nearbyint(double(FGiroX) * 10 / 300));
    return static_cast<int>(std::min(intensidad, 10.0));
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
        ranura = RanuraDe(palabra, ACC_COG_TIRAR);
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
