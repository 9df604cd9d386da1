// Engine core: every EE_/ES_ call of the C API lands here.
#include "Motor.h"

#include "Acciones.h"
#include "EnlaceRemoto.h"
#include "EscalasCasco.h"
#include "Texto.h"
#include "edk.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <string>
#include <sys/epoll.h>

namespace edk {

namespace {

    // Internal events a source may send in a row before a poll gives up for now.
    constexpr int InternosPorConsulta = 1024;

    bool AccionUnica(std::uint32_t accion, TSuite suite)
    {
        return std::has_single_bit(accion) && (accion & BitsConocidos(suite)) != 0;
    }

    template <typename T>
    T* Buscar(const std::unordered_map<const void*, std::unique_ptr<T>>& tabla, const void* handle)
    {
        const auto encontrado = tabla.find(handle);
        return encontrado == tabla.end() ? nullptr : encontrado->second.get();
    }

    template <typename T> void* Crear(std::unordered_map<const void*, std::unique_ptr<T>>& tabla)
    {
        auto nuevo = std::make_unique<T>();
        void* handle = nuevo.get();
        tabla.emplace(handle, std::move(nuevo));
        return handle;
    }

    // A gyro change minus its offset, kept inside int whatever a source sent.
    int Restar(int valor, int cero)
    {
        const long long resta = static_cast<long long>(valor) - cero;
        return static_cast<int>(
            std::clamp<long long>(resta, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    }

} // namespace

TMotor::TUsuario::TUsuario()
{
    UmbralesExpresivos.fill(TDatosPerfil {}.SensibilidadApretar);
}

TMotor::TMotor(TReloj reloj) : FReloj(std::move(reloj)), FDespertador(::epoll_create1(EPOLL_CLOEXEC)) { }

// Adds the source's descriptor to the wake-up set or takes it out. A source
// without one leaves the set never readable: its caller must poll.
void TMotor::Vigilar(int operacion)
{
    const int fd = FFuente ? FFuente->Despertador() : -1;
    if (fd < 0 || FDespertador.Fd() < 0)
        return;
    epoll_event suceso {};
    suceso.events = EPOLLIN;
    suceso.data.fd = fd;
    ::epoll_ctl(FDespertador.Fd(), operacion, fd, &suceso);
}

void TMotor::FijarReloj(TReloj reloj)
{
    FReloj = std::move(reloj);
}

void* TMotor::CrearEvento()
{
    return Crear(FEventos);
}
void TMotor::LiberarEvento(void* evento)
{
    FEventos.erase(evento);
}
void* TMotor::CrearEstado()
{
    return Crear(FEstados);
}
void TMotor::LiberarEstado(void* estado)
{
    FEstados.erase(estado);
}
void* TMotor::CrearOptimizacion()
{
    return Crear(FOptimizaciones);
}
void TMotor::LiberarOptimizacion(void* parametro)
{
    FOptimizaciones.erase(parametro);
}

int TMotor::Conectar()
{
    return ConectarFuente(std::make_unique<TCascoSimulado>(TEscenario::Demo(), FReloj), true);
}

int TMotor::ConectarRemoto(const char* direccion, unsigned short puerto)
{
    if (Conectado())
        Desconectar();
    int codigo = EDK_CONEXION_REMOTA_IMPOSIBLE;
    std::unique_ptr<TFuenteEventos> fuente = edk::ConectarRemoto(direccion, puerto, codigo);
    if (!fuente)
        return codigo != EDK_SIN_ERRORES ? codigo : EDK_CONEXION_REMOTA_IMPOSIBLE;
    return ConectarFuente(std::move(fuente));
}

int TMotor::ConectarFuente(std::unique_ptr<TFuenteEventos> fuente, bool simulada)
{
    if (Conectado())
        Desconectar();
    if (!fuente)
        return EDK_PARAMETRO_NO_VALIDO;
    FFuente = std::move(fuente);
    FSimulada = simulada;
    Vigilar(EPOLL_CTL_ADD);
    return EDK_SIN_ERRORES;
}

int TMotor::Desconectar()
{
    if (!Conectado())
        return EDK_MOTOR_NO_INICIALIZADO;
    Vigilar(EPOLL_CTL_DEL);
    FFuente.reset();
    FEnlacePerdido = false;
    FGiroCalibrado = true;
    FUsuarios.clear();
    DesactivarOptimizacion();
    return EDK_SIN_ERRORES;
}

int TMotor::SiguienteEvento(void* evento)
{
    THandleEvento* destino = Buscar(FEventos, evento);
    if (!Conectado())
        return EDK_MOTOR_NO_INICIALIZADO;
    if (!destino)
        return EDK_PARAMETRO_NO_VALIDO;
    if (FEnlacePerdido)
        return EDK_CONEXION_REMOTA_PERDIDA;
    for (int internos = 0; internos < InternosPorConsulta; ++internos) {
        TEvento leido;
        const int codigo = FFuente->Siguiente(leido);
        if (codigo == EDK_CONEXION_REMOTA_PERDIDA)
            FEnlacePerdido = true;
        if (codigo != EDK_SIN_ERRORES)
            return codigo;
        if (leido.Tipo == TipoInternoGiroCalibrado || leido.Tipo == TipoInternoGiroSinCalibrar) {
            FGiroCalibrado = leido.Tipo == TipoInternoGiroCalibrado;
            continue;
        }
        Recibido(leido);
        destino->Evento = leido;
        return EDK_SIN_ERRORES;
    }
    return EDK_SIN_EVENTOS;
}

void TMotor::Recibido(TEvento& evento)
{
    switch (evento.Tipo) {
    case EE_UserAdded:
        FUsuarios.try_emplace(evento.Usuario); // a user already held keeps its settings
        break;
    case EE_UserRemoved:
        FUsuarios.erase(evento.Usuario);
        break;
    case EE_EmoStateUpdated:
        if (TUsuario* usuario = Usuario(evento.Usuario)) {
            usuario->GiroX = evento.Estado.GiroX;
            usuario->GiroY = evento.Estado.GiroY;
            if (FSimulada)
                AjustarPotencias(*usuario, evento.Estado);
        }
        break;
    default:
        break;
    }
}

// The neutral settings leave a power as it is; the extremes scale it by
// 0.5..1.5 (threshold) or 0.68..1.32 (sensitivity).
void TMotor::AjustarPotencias(const TUsuario& usuario, TEstadoEmo& estado)
{
    const std::uint32_t expresiva = estado.AccionExpresiva;
    if (AccionUnica(expresiva, TSuite::Expresiva)) {
        const int umbral = usuario.UmbralesExpresivos[std::countr_zero(expresiva)];
        const double factor
            = 1.0 + (umbral - SensibilidadAvanceNeutra) / double(SensibilidadAvanceMaxima - SensibilidadAvanceMinima);
        estado.PotenciaExpresiva = static_cast<float>(std::clamp(estado.PotenciaExpresiva * factor, 0.0, 1.0));
    }
    const int ranura = RanuraCognitiva(usuario.Perfil.CognitivasActivas, estado.AccionCognitiva, ACC_COG_NEUTRAL);
    if (ranura == SinRanura)
        return;
    const double factor = 1.0 + 0.08 * (usuario.Perfil.SensibilidadesCognitivas[ranura] - SensibilidadCognitivaNeutra);
    estado.PotenciaCognitiva = static_cast<float>(std::clamp(estado.PotenciaCognitiva * factor, 0.0, 1.0));
}

int TMotor::TipoEvento(void* evento) const
{
    const THandleEvento* origen = Buscar(FEventos, evento);
    return origen ? origen->Evento.Tipo : EE_UnknownEvent;
}

int TMotor::UsuarioEvento(void* evento, unsigned int* usuario) const
{
    const THandleEvento* origen = Buscar(FEventos, evento);
    if (!origen || !usuario)
        return EDK_PARAMETRO_NO_VALIDO;
    *usuario = origen->Evento.Usuario;
    return EDK_SIN_ERRORES;
}

int TMotor::EstadoEvento(void* evento, void* estado) const
{
    const THandleEvento* origen = Buscar(FEventos, evento);
    THandleEstado* destino = Buscar(FEstados, estado);
    if (!origen || !destino || origen->Evento.Tipo != EE_EmoStateUpdated)
        return EDK_PARAMETRO_NO_VALIDO;
    destino->Estado = origen->Evento.Estado;
    return EDK_SIN_ERRORES;
}

const TEstadoEmo* TMotor::Estado(void* estado) const
{
    const THandleEstado* origen = Buscar(FEstados, estado);
    return origen ? &origen->Estado : nullptr;
}

int TMotor::FijarVital(void* parametro, int suite, std::uint32_t acciones)
{
    THandleOptimizacion* destino = Buscar(FOptimizaciones, parametro);
    if (!destino)
        return EDK_PARAMETRO_NO_VALIDO;
    if (suite == EDK_SUITE_COGNITIVA && (acciones & ~BitsConocidos(TSuite::Cognitiva)) == 0)
        destino->VitalCognitiva = acciones;
    else if (suite == EDK_SUITE_EXPRESIVA && (acciones & ~BitsConocidos(TSuite::Expresiva)) == 0)
        destino->VitalExpresiva = acciones;
    else
        return EDK_PARAMETRO_NO_VALIDO;
    return EDK_SIN_ERRORES;
}

int TMotor::LeerVital(void* parametro, int suite, std::uint32_t* acciones) const
{
    const THandleOptimizacion* origen = Buscar(FOptimizaciones, parametro);
    if (!origen || !acciones)
        return EDK_PARAMETRO_NO_VALIDO;
    if (suite == EDK_SUITE_COGNITIVA)
        *acciones = origen->VitalCognitiva;
    else if (suite == EDK_SUITE_EXPRESIVA)
        *acciones = origen->VitalExpresiva;
    else
        return EDK_PARAMETRO_NO_VALIDO;
    return EDK_SIN_ERRORES;
}

int TMotor::ActivarOptimizacion(void* parametro)
{
    if (!Conectado())
        return EDK_MOTOR_NO_INICIALIZADO;
    const THandleOptimizacion* origen = Buscar(FOptimizaciones, parametro);
    if (!origen)
        return EDK_PARAMETRO_NO_VALIDO;
    FOptimizacion = *origen;
    FOptimizacionActiva = true;
    return EDK_SIN_ERRORES;
}

void TMotor::DesactivarOptimizacion()
{
    FOptimizacionActiva = false;
    FOptimizacion = {};
}

int TMotor::Comprobar(std::uint32_t usuario) const
{
    if (!Conectado())
        return EDK_MOTOR_NO_INICIALIZADO;
    if (!Usuario(usuario))
        return EDK_USUARIO_NO_VALIDO;
    return EDK_SIN_ERRORES;
}

const TMotor::TUsuario* TMotor::Usuario(std::uint32_t usuario) const
{
    const auto encontrado = FUsuarios.find(usuario);
    return encontrado == FUsuarios.end() ? nullptr : &encontrado->second;
}

TMotor::TUsuario* TMotor::Usuario(std::uint32_t usuario)
{
    const auto encontrado = FUsuarios.find(usuario);
    return encontrado == FUsuarios.end() ? nullptr : &encontrado->second;
}

int TMotor::CargarPerfil(std::uint32_t usuario, const char* fichero)
{
    if (!Conectado())
        return EDK_MOTOR_NO_INICIALIZADO;
    if (!fichero)
        return EDK_PARAMETRO_NO_VALIDO;
    TUsuario* destino = Usuario(usuario);
    if (!destino)
        return EDK_USUARIO_NO_VALIDO;
    TPerfil perfil;
    int codigo = perfil.LeerFichero(fichero);
    if (codigo == EDK_ERROR_FICHEROS) {
        // The program hands names over in Windows-1252; our file system speaks UTF-8.
        const std::string convertido = DeCodigoPagina(fichero);
        if (convertido != fichero)
            codigo = perfil.LeerFichero(convertido);
    }
    if (codigo != EDK_SIN_ERRORES)
        return codigo;
    destino->Perfil = perfil.Datos();
    destino->UmbralesExpresivos[std::countr_zero(static_cast<std::uint32_t>(ACC_EXP_APRETAR_DIENTES))]
        = perfil.Datos().SensibilidadApretar;
    destino->PerfilCargado = true;
    return EDK_SIN_ERRORES;
}

int TMotor::FijarUmbral(std::uint32_t usuario, std::uint32_t accion, int clase, int valor)
{
    if (const int codigo = Comprobar(usuario); codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!AccionUnica(accion, TSuite::Expresiva) || clase != EDK_UMBRAL_SENSIBILIDAD)
        return EDK_PARAMETRO_NO_VALIDO;
    if (valor < SensibilidadAvanceMinima || valor > SensibilidadAvanceMaxima)
        return EDK_FUERA_DE_RANGO;
    TUsuario& destino = *Usuario(usuario);
    destino.UmbralesExpresivos[std::countr_zero(accion)] = valor;
    if (accion == ACC_EXP_APRETAR_DIENTES)
        destino.Perfil.SensibilidadApretar = valor;
    return EDK_SIN_ERRORES;
}

int TMotor::LeerUmbral(std::uint32_t usuario, std::uint32_t accion, int clase, int* valor) const
{
    if (const int codigo = Comprobar(usuario); codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!valor || !AccionUnica(accion, TSuite::Expresiva) || clase != EDK_UMBRAL_SENSIBILIDAD)
        return EDK_PARAMETRO_NO_VALIDO;
    *valor = Usuario(usuario)->UmbralesExpresivos[std::countr_zero(accion)];
    return EDK_SIN_ERRORES;
}

int TMotor::LeerSensibilidades(std::uint32_t usuario, int* s1, int* s2, int* s3, int* s4) const
{
    if (const int codigo = Comprobar(usuario); codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!s1 || !s2 || !s3 || !s4)
        return EDK_PARAMETRO_NO_VALIDO;
    const std::array<int, NumRanurasCognitivas>& s = Usuario(usuario)->Perfil.SensibilidadesCognitivas;
    *s1 = s[0];
    *s2 = s[1];
    *s3 = s[2];
    *s4 = s[3];
    return EDK_SIN_ERRORES;
}

int TMotor::FijarSensibilidades(std::uint32_t usuario, int s1, int s2, int s3, int s4)
{
    if (const int codigo = Comprobar(usuario); codigo != EDK_SIN_ERRORES)
        return codigo;
    const std::array<int, NumRanurasCognitivas> nuevas {s1, s2, s3, s4};
    for (const int s : nuevas)
        if (s < SensibilidadCognitivaMinima || s > SensibilidadCognitivaMaxima)
            return EDK_FUERA_DE_RANGO;
    Usuario(usuario)->Perfil.SensibilidadesCognitivas = nuevas;
    return EDK_SIN_ERRORES;
}

int TMotor::ConPerfil(std::uint32_t usuario, std::uint32_t* acciones, std::uint32_t TDatosPerfil::*campo) const
{
    if (const int codigo = Comprobar(usuario); codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!acciones)
        return EDK_PARAMETRO_NO_VALIDO;
    const TUsuario& origen = *Usuario(usuario);
    if (!origen.PerfilCargado)
        return EDK_PERFIL_SIN_USUARIO;
    *acciones = origen.Perfil.*campo;
    return EDK_SIN_ERRORES;
}

int TMotor::CognitivasEntrenadas(std::uint32_t usuario, std::uint32_t* acciones) const
{
    return ConPerfil(usuario, acciones, &TDatosPerfil::CognitivasEntrenadas);
}

int TMotor::CognitivasActivas(std::uint32_t usuario, std::uint32_t* acciones) const
{
    return ConPerfil(usuario, acciones, &TDatosPerfil::CognitivasActivas);
}

int TMotor::ExpresivasEntrenadas(std::uint32_t usuario, std::uint32_t* acciones) const
{
    return ConPerfil(usuario, acciones, &TDatosPerfil::ExpresivasEntrenadas);
}

int TMotor::NivelEntrenamiento(std::uint32_t usuario, float* nivel) const
{
    if (const int codigo = Comprobar(usuario); codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!nivel)
        return EDK_PARAMETRO_NO_VALIDO;
    const TUsuario& origen = *Usuario(usuario);
    if (!origen.PerfilCargado)
        return EDK_PERFIL_SIN_USUARIO;
    *nivel = origen.Perfil.NivelEntrenamiento;
    return EDK_SIN_ERRORES;
}

int TMotor::LeerGiro(std::uint32_t usuario, int* dx, int* dy) const
{
    if (const int codigo = Comprobar(usuario); codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!dx || !dy)
        return EDK_PARAMETRO_NO_VALIDO;
    if (!FGiroCalibrado)
        return EDK_GIROSCOPO_NO_CALIBRADO;
    const TUsuario& origen = *Usuario(usuario);
    *dx = Restar(origen.GiroX, origen.CeroX);
    *dy = Restar(origen.GiroY, origen.CeroY);
    return EDK_SIN_ERRORES;
}

int TMotor::CentrarGiro(std::uint32_t usuario)
{
    if (const int codigo = Comprobar(usuario); codigo != EDK_SIN_ERRORES)
        return codigo;
    if (!FGiroCalibrado)
        return EDK_GIROSCOPO_NO_CALIBRADO;
    TUsuario& destino = *Usuario(usuario);
    destino.CeroX = destino.GiroX;
    destino.CeroY = destino.GiroY;
    return EDK_SIN_ERRORES;
}

TMotor& MotorGlobal()
{
    static TMotor motor;
    return motor;
}

} // namespace edk
