// The log's line store on its own, with blocks of a few lines: every line and
// level reads back the same from memory, from the spill file or from a block
// that could not be spilled, and emptying drops the file too.
#include "AlmacenRegistro.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// Four lines or 64 bytes a block, two blocks in memory and two read back.
const TAlmacenRegistro::TLimites Pequenos {4, 64, 2, 2};
constexpr std::size_t MaximoCargados = 2 + 2;

// Empty, multi-byte and long lines (a long one closes its block early).
std::string LineaDe(std::size_t i)
{
    switch (i % 5) {
    case 0:
        return {};
    case 1:
        return "línea " + std::to_string(i);
    case 2:
        return std::string(100, 'x') + std::to_string(i);
    case 3:
        return "5 € " + std::to_string(i) + " \u4e2d";
    default:
        return std::to_string(i);
    }
}

int NivelDe(std::size_t i)
{
    return int(i % 3);
}

void Llenar(TAlmacenRegistro& almacen, std::size_t desde, std::size_t hasta)
{
    for (std::size_t i = desde; i < hasta; ++i)
        almacen.Anadir(NivelDe(i), LineaDe(i));
}

// Lines desde.. in an order that keeps leaving the cache: backwards, then in
// long strides.
void Comprobar(const TAlmacenRegistro& almacen, std::size_t desde)
{
    const std::size_t num = almacen.NumLineas();
    std::vector<std::size_t> orden;
    for (std::size_t i = num; i-- > 0;)
        orden.push_back(i);
    for (std::size_t i = 0; i < num; ++i)
        orden.push_back(i * 37 % num);
    for (std::size_t i : orden) {
        ASSERT_EQ(almacen.Linea(i), LineaDe(desde + i)) << "line " << i;
        ASSERT_EQ(almacen.Nivel(i), NivelDe(desde + i)) << "line " << i;
    }
}

int DescriptoresAbiertos()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// Lowers this process's file-size limit, so that writes past it fail with
// EFBIG instead of raising SIGXFSZ, and restores both on leaving.
class TLimiteFichero {
public:
    explicit TLimiteFichero(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &FAnterior);
        FSenal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = FAnterior;
        limite.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~TLimiteFichero()
    {
        ::setrlimit(RLIMIT_FSIZE, &FAnterior);
        std::signal(SIGXFSZ, FSenal);
    }

private:
    rlimit FAnterior {};
    void (*FSenal)(int) = nullptr;
};

class AlmacenRegistro : public testing::Test {
protected:
    std::string Carpeta() const { return QFile::encodeName(FCarpeta.path()).toStdString(); }

    QTemporaryDir FCarpeta;
};

TEST_F(AlmacenRegistro, LasLineasVuelvenIgualesDeMemoriaYDelFichero)
{
    TAlmacenRegistro almacen(Carpeta(), Pequenos);
    Llenar(almacen, 0, 1000);
    EXPECT_EQ(almacen.NumLineas(), 1000u);
    EXPECT_GT(almacen.BloquesVolcados(), 200u);
    EXPECT_EQ(almacen.ErrorVolcado(), 0);
    Comprobar(almacen, 0);
    EXPECT_LE(almacen.BloquesCargados(), MaximoCargados);
    EXPECT_EQ(almacen.ErrorLectura(), 0);
    // The spill file has no name.
    EXPECT_TRUE(QDir(FCarpeta.path()).isEmpty());

    std::uint64_t caracteres = 0;
    std::size_t siguiente = 3;
    EXPECT_TRUE(almacen.Recorrer(3, 997, [&](std::string_view linea, int nivel) {
        EXPECT_EQ(linea, LineaDe(siguiente));
        EXPECT_EQ(nivel, NivelDe(siguiente));
        ++siguiente;
        return true;
    }));
    EXPECT_EQ(siguiente, 997u);
    for (std::size_t i = 0; i < 1000; ++i)
        caracteres += QString::fromStdString(LineaDe(i)).toUcs4().size();
    EXPECT_EQ(almacen.NumCaracteres(), caracteres);

    // A visitor that stops ends the walk.
    int visitadas = 0;
    EXPECT_FALSE(almacen.Recorrer(0, 1000, [&](std::string_view, int) { return ++visitadas < 10; }));
    EXPECT_EQ(visitadas, 10);
}

TEST_F(AlmacenRegistro, LimpiarLoVaciaTodoConElFichero)
{
    const int antes = DescriptoresAbiertos();
    TAlmacenRegistro almacen(Carpeta(), Pequenos);
    Llenar(almacen, 0, 100);
    ASSERT_GT(almacen.BloquesVolcados(), 0u);
    EXPECT_EQ(DescriptoresAbiertos(), antes + 1);

    almacen.Limpiar();
    EXPECT_EQ(almacen.NumLineas(), 0u);
    EXPECT_EQ(almacen.NumCaracteres(), 0u);
    EXPECT_EQ(almacen.BloquesVolcados(), 0u);
    EXPECT_EQ(almacen.BloquesCargados(), 0u);
    EXPECT_EQ(DescriptoresAbiertos(), antes);
    EXPECT_TRUE(almacen.Recorrer(0, 100, [](std::string_view, int) { return false; }));

    // A fresh log, spilled to a fresh file.
    Llenar(almacen, 1000, 1100);
    EXPECT_EQ(almacen.NumLineas(), 100u);
    EXPECT_GT(almacen.BloquesVolcados(), 0u);
    Comprobar(almacen, 1000);
}

TEST_F(AlmacenRegistro, SinFicheroLasLineasSeQuedanEnMemoria)
{
    QFile(FCarpeta.filePath(QStringLiteral("fichero"))).open(QIODevice::WriteOnly);
    const struct {
        std::string carpeta;
        int codigo;
    } casos[] = {
        {Carpeta() + "/no/existe", ENOENT},
        {Carpeta() + "/fichero", ENOTDIR},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.carpeta);
        TAlmacenRegistro almacen(caso.carpeta, Pequenos);
        Llenar(almacen, 0, 100);
        EXPECT_EQ(almacen.BloquesVolcados(), 0u);
        EXPECT_EQ(almacen.ErrorVolcado(), caso.codigo);
        EXPECT_GT(almacen.BloquesCargados(), 20u);
        Comprobar(almacen, 0);
    }
}

// A disk that fills up: the blocks that do not fit stay in memory, and go to
// the file once it takes them again.
TEST_F(AlmacenRegistro, LoQueNoCabeEnElFicheroSeQuedaEnMemoriaHastaQueCabe)
{
    TAlmacenRegistro almacen(Carpeta(), Pequenos);
    std::size_t volcados = 0;
    {
        const TLimiteFichero limite(1000);
        Llenar(almacen, 0, 200);
        volcados = almacen.BloquesVolcados();
    }
    EXPECT_GT(volcados, 0u);
    EXPECT_EQ(almacen.ErrorVolcado(), EFBIG);
    EXPECT_GT(almacen.BloquesCargados(), 20u);
    Comprobar(almacen, 0);

    Llenar(almacen, 200, 210);
    EXPECT_EQ(almacen.ErrorVolcado(), 0);
    EXPECT_GT(almacen.BloquesVolcados(), volcados + 20);
    Comprobar(almacen, 0);
    EXPECT_LE(almacen.BloquesCargados(), MaximoCargados);
}

} // namespace
