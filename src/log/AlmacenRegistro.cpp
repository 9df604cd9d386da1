#include "AlmacenRegistro.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

// One block's lines: their text one after another, where each starts, and
// their levels. A spilled block lies in the file in the same three parts.
struct TAlmacenRegistro::TLineas {
    std::string Texto;
    std::vector<std::uint32_t> Inicios;
    std::vector<std::uint8_t> Niveles;

    std::size_t Num() const { return Niveles.size(); }
    std::string_view Linea(std::size_t i) const
    {
        const std::size_t desde = Inicios[i];
        const std::size_t hasta = i + 1 < Inicios.size() ? Inicios[i + 1] : Texto.size();
        return std::string_view(Texto.data() + desde, hasta - desde);
    }
};

struct TAlmacenRegistro::TBloque {
    std::size_t Primera = 0; // the log's index of its first line
    std::unique_ptr<TLineas> Lineas; // null once spilled
    std::uint64_t Posicion = 0; // where a spilled block starts in the file
    std::uint64_t Bytes = 0; // and the length of its text there
};

struct TAlmacenRegistro::TCacheado {
    std::size_t Bloque = 0;
    std::unique_ptr<TLineas> Lineas;
};

namespace {

constexpr std::size_t BytesInicio = sizeof(std::uint32_t);
// The spill file's name where the file system cannot make unnamed files; it
// is unlinked as soon as it is open.
constexpr const char* PlantillaFichero = "/gedanko-registro-XXXXXX";
// The level of a line whose block cannot be read back: the plain colour.
constexpr int NivelIlegible = 0;

bool EscribirEn(int fd, const void* datos, std::size_t cuantos, std::uint64_t posicion)
{
    const char* resto = static_cast<const char*>(datos);
    while (cuantos > 0) {
        const ssize_t escritos = ::pwrite(fd, resto, cuantos, off_t(posicion));
        if (escritos < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        resto += escritos;
        cuantos -= std::size_t(escritos);
        posicion += std::uint64_t(escritos);
    }
    return true;
}

bool LeerDe(int fd, void* datos, std::size_t cuantos, std::uint64_t posicion)
{
    char* resto = static_cast<char*>(datos);
    while (cuantos > 0) {
        const ssize_t leidos = ::pread(fd, resto, cuantos, off_t(posicion));
        if (leidos < 0 && errno == EINTR)
            continue;
        if (leidos <= 0) {
            if (leidos == 0)
                errno = EIO; // the file ends before the block does
            return false;
        }
        resto += leidos;
        cuantos -= std::size_t(leidos);
        posicion += std::uint64_t(leidos);
    }
    return true;
}

// Characters in UTF-8 text: every byte but the continuation bytes.
std::uint64_t Caracteres(std::string_view utf8)
{
    return std::uint64_t(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Every line starts within the text and after the one before it.
bool IniciosValidos(const std::vector<std::uint32_t>& inicios, std::size_t bytes)
{
    return std::is_sorted(inicios.begin(), inicios.end()) && (inicios.empty() || inicios.back() <= bytes);
}

} // namespace

TAlmacenRegistro::TAlmacenRegistro(std::string carpeta) : TAlmacenRegistro(std::move(carpeta), TLimites()) { }

TAlmacenRegistro::TAlmacenRegistro(std::string carpeta, const TLimites& limites)
    : FCarpeta(std::move(carpeta)),
      FLimites(limites)
{
    FLimites.LineasPorBloque = std::max<std::size_t>(1, FLimites.LineasPorBloque);
    FLimites.BloquesEnMemoria = std::max<std::size_t>(1, FLimites.BloquesEnMemoria);
    FLimites.BloquesEnCache = std::max<std::size_t>(1, FLimites.BloquesEnCache);
}

TAlmacenRegistro::~TAlmacenRegistro() = default;

void TAlmacenRegistro::Anadir(int nivel, std::string_view linea)
{
    TLineas& actual = Actual();
    actual.Inicios.push_back(std::uint32_t(actual.Texto.size()));
    actual.Niveles.push_back(std::uint8_t(nivel));
    actual.Texto.append(linea);
    ++FNumLineas;
    FNumCaracteres += Caracteres(linea);
}

TAlmacenRegistro::TLineas& TAlmacenRegistro::Actual()
{
    if (FBloques.empty())
        AbrirBloque();
    const TLineas& ultimo = *FBloques.back().Lineas;
    if (ultimo.Num() >= FLimites.LineasPorBloque || ultimo.Texto.size() >= FLimites.BytesPorBloque)
        AbrirBloque();
    return *FBloques.back().Lineas;
}

// Starts a new block after the last one and spills what no longer fits in
// memory.
void TAlmacenRegistro::AbrirBloque()
{
    TBloque nuevo;
    nuevo.Primera = FNumLineas;
    nuevo.Lineas = std::make_unique<TLineas>();
    nuevo.Lineas->Inicios.reserve(FLimites.LineasPorBloque);
    nuevo.Lineas->Niveles.reserve(FLimites.LineasPorBloque);
    FBloques.push_back(std::move(nuevo));
    Volcar();
}

// Oldest first, so that the spilled blocks are always the first ones. A
// block that cannot be written stays in memory and is tried again when the
// next block closes.
void TAlmacenRegistro::Volcar()
{
    while (FBloques.size() - FVolcados > FLimites.BloquesEnMemoria) {
        if (!VolcarBloque(FBloques[FVolcados]))
            return;
        ++FVolcados;
    }
}

bool TAlmacenRegistro::VolcarBloque(TBloque& bloque)
{
    if (FFichero.Fd() < 0 && !CrearFichero())
        return false;
    const TLineas& lineas = *bloque.Lineas;
    const std::uint64_t inicios = FFinFichero + lineas.Texto.size();
    const std::uint64_t niveles = inicios + lineas.Num() * BytesInicio;
    const std::uint64_t fin = niveles + lineas.Num();
    const int fd = FFichero.Fd();
    if (!EscribirEn(fd, lineas.Texto.data(), lineas.Texto.size(), FFinFichero)
        || !EscribirEn(fd, lineas.Inicios.data(), lineas.Num() * BytesInicio, inicios)
        || !EscribirEn(fd, lineas.Niveles.data(), lineas.Num(), niveles)) {
        FErrorVolcado = errno;
        // A part written before the failure would only keep a full disk full.
        const int devuelto = ::ftruncate(fd, off_t(FFinFichero));
        static_cast<void>(devuelto);
        return false;
    }
    bloque.Posicion = FFinFichero;
    bloque.Bytes = lineas.Texto.size();
    bloque.Lineas.reset();
    FFinFichero = fin;
    FErrorVolcado = 0;
    return true;
}

// The file has no name, so nothing is left behind however the program ends.
bool TAlmacenRegistro::CrearFichero()
{
    int fd = ::open(FCarpeta.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR)) {
        std::string ruta = FCarpeta + PlantillaFichero;
        fd = ::mkostemp(ruta.data(), O_CLOEXEC);
        if (fd >= 0)
            ::unlink(ruta.c_str());
    }
    if (fd < 0) {
        FErrorVolcado = errno;
        return false;
    }
    FFichero = TDescriptor(fd);
    FFinFichero = 0;
    return true;
}

void TAlmacenRegistro::Limpiar()
{
    std::vector<TBloque>().swap(FBloques);
    std::vector<TCacheado>().swap(FCache);
    FNumLineas = 0;
    FNumCaracteres = 0;
    FVolcados = 0;
    FFichero.Cerrar();
    FFinFichero = 0;
    FErrorVolcado = 0;
    FErrorLectura = 0;
}

std::size_t TAlmacenRegistro::BloqueDe(std::size_t linea) const
{
    // Appends and the view at the end ask for the newest block.
    if (linea >= FBloques.back().Primera)
        return FBloques.size() - 1;
    const auto siguiente = std::upper_bound(FBloques.begin(), FBloques.end(), linea,
                                            [](std::size_t l, const TBloque& bloque) { return l < bloque.Primera; });
    return std::size_t(siguiente - FBloques.begin()) - 1;
}

std::size_t TAlmacenRegistro::LineasDe(std::size_t bloque) const
{
    const std::size_t fin = bloque + 1 < FBloques.size() ? FBloques[bloque + 1].Primera : FNumLineas;
    return fin - FBloques[bloque].Primera;
}

std::size_t TAlmacenRegistro::BloquesCargados() const
{
    return FBloques.size() - FVolcados + FCache.size();
}

const TAlmacenRegistro::TLineas* TAlmacenRegistro::Lineas(std::size_t bloque) const
{
    if (FBloques[bloque].Lineas)
        return FBloques[bloque].Lineas.get();
    const auto cacheado
        = std::find_if(FCache.begin(), FCache.end(), [bloque](const TCacheado& c) { return c.Bloque == bloque; });
    if (cacheado != FCache.end()) {
        std::rotate(FCache.begin(), cacheado, cacheado + 1);
        return FCache.front().Lineas.get();
    }
    // The least used block makes room, and lends its buffers.
    std::unique_ptr<TLineas> lineas;
    if (FCache.size() >= FLimites.BloquesEnCache) {
        lineas = std::move(FCache.back().Lineas);
        FCache.pop_back();
    } else {
        lineas = std::make_unique<TLineas>();
    }
    if (!LeerBloque(bloque, *lineas))
        return nullptr;
    FCache.insert(FCache.begin(), TCacheado {bloque, std::move(lineas)});
    return FCache.front().Lineas.get();
}

bool TAlmacenRegistro::LeerBloque(std::size_t bloque, TLineas& lineas) const
{
    const TBloque& leido = FBloques[bloque];
    const std::size_t num = LineasDe(bloque);
    lineas.Texto.resize(leido.Bytes);
    lineas.Inicios.resize(num);
    lineas.Niveles.resize(num);
    const std::uint64_t inicios = leido.Posicion + leido.Bytes;
    const int fd = FFichero.Fd();
    if (!LeerDe(fd, lineas.Texto.data(), leido.Bytes, leido.Posicion)
        || !LeerDe(fd, lineas.Inicios.data(), num * BytesInicio, inicios)
        || !LeerDe(fd, lineas.Niveles.data(), num, inicios + num * BytesInicio)) {
        FErrorLectura = errno;
        return false;
    }
    if (!IniciosValidos(lineas.Inicios, leido.Bytes)) {
        FErrorLectura = EIO;
        return false;
    }
    return true;
}

std::string_view TAlmacenRegistro::Linea(std::size_t i) const
{
    const std::size_t bloque = BloqueDe(i);
    const TLineas* lineas = Lineas(bloque);
    return lineas ? lineas->Linea(i - FBloques[bloque].Primera) : std::string_view();
}

int TAlmacenRegistro::Nivel(std::size_t i) const
{
    const std::size_t bloque = BloqueDe(i);
    const TLineas* lineas = Lineas(bloque);
    return lineas ? lineas->Niveles[i - FBloques[bloque].Primera] : NivelIlegible;
}

bool TAlmacenRegistro::Recorrer(std::size_t desde, std::size_t hasta, const TVisitante& visitar) const
{
    hasta = std::min(hasta, FNumLineas);
    for (std::size_t i = desde; i < hasta;) {
        const std::size_t bloque = BloqueDe(i);
        const TLineas* lineas = Lineas(bloque);
        if (!lineas)
            return false;
        const std::size_t primera = FBloques[bloque].Primera;
        const std::size_t fin = std::min(hasta, primera + lineas->Num());
        for (; i < fin; ++i)
            if (!visitar(lineas->Linea(i - primera), lineas->Niveles[i - primera]))
                return false;
    }
    return true;
}
