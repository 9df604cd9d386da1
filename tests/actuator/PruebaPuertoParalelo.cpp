// The port lookup of our libinpout32.so on fake /proc and /dev trees.
#include "PuertoParalelo.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A temporary tree with proc/ and dev/ below it.
class TArbolFalso {
public:
    TArbolFalso()
    {
        fs::create_directories(Proc());
        fs::create_directories(Dev());
    }
    std::string Proc() const { return Raiz() + "/proc"; }
    std::string Dev() const { return Raiz() + "/dev"; }

    // /proc/sys/dev/parport/<nombre>/base-addr with that text.
    void Puerto(const std::string& nombre, const std::string& base)
    {
        const fs::path carpeta = fs::path(Proc()) / "sys/dev/parport" / nombre;
        fs::create_directories(carpeta);
        std::ofstream(carpeta / "base-addr") << base;
    }
    void Dispositivo(const std::string& nombre) { std::ofstream(fs::path(Dev()) / nombre); }
    // A device that stands for another file, to fail in that file's way.
    void Enlace(const std::string& nombre, const std::string& destino)
    {
        fs::create_symlink(destino, fs::path(Dev()) / nombre);
    }
    void Ioports(const std::string& texto) { std::ofstream(fs::path(Proc()) / "ioports") << texto; }

private:
    std::string Raiz() const { return FCarpeta.path().toStdString(); }
    QTemporaryDir FCarpeta;
};

struct TCasoBusqueda {
    const char* Nombre;
    std::vector<std::pair<std::string, std::string>> Puertos; // name, base-addr text
    std::vector<std::string> Dispositivos;
    std::string Esperado; // below dev/, "" when none
};

TEST(PruebaPuertoParalelo, BuscaElDispositivoCuyaBaseEs888)
{
    const TCasoBusqueda casos[] = {
        {"nada", {}, {}, ""},
        {"el primero", {{"parport0", "888\t1912\n"}}, {"parport0"}, "parport0"},
        {"el segundo",
         {{"parport0", "632\t1656\n"}, {"parport1", "888\t1912\n"}},
         {"parport0", "parport1"},
         "parport1"},
        {"sin ppdev no hay dispositivo", {{"parport0", "888\t1912\n"}}, {}, ""},
        {"otra base", {{"parport0", "8880\t-1\n"}, {"parport1", "88\n"}}, {"parport0", "parport1"}, ""},
        {"nombres ajenos y bases ilegibles",
         {{"default", "888\n"}, {"parportx", "888\n"}, {"parport3", "abc\n"}, {"parport4", ""}},
         {"default", "parportx", "parport3", "parport4"},
         ""},
        {"el de numero menor", {{"parport10", "888\n"}, {"parport2", "888\n"}}, {"parport10", "parport2"}, "parport2"},
    };
    for (const TCasoBusqueda& caso : casos) {
        TArbolFalso arbol;
        for (const auto& [nombre, base] : caso.Puertos)
            arbol.Puerto(nombre, base);
        for (const std::string& nombre : caso.Dispositivos)
            arbol.Dispositivo(nombre);
        const std::string esperado = caso.Esperado.empty() ? "" : arbol.Dev() + "/" + caso.Esperado;
        EXPECT_EQ(TPuertoParalelo::BuscarDispositivo(arbol.Proc(), arbol.Dev(), 888), esperado) << caso.Nombre;
    }
}

TEST(PruebaPuertoParalelo, LaRegionDebeEstarDeclaradaConSuDireccionReal)
{
    const std::pair<const char*, bool> casos[] = {
        {"0000-0cf7 : PCI Bus 0000:00\n  0378-037a : parport0\n", true},
        {"0378-037f : parport0\n", true},
        {"0000-0cf7 : PCI Bus 0000:00\n", false}, // a bus range is no port
        {"0378-037a : lp0\n", false},
        {"0370-0377 : otro\n037b-037f : parport0\n", false},
        {"0278-027a : parport0\n", false},
        {"0000-0000 : parport0\n", false}, // what an unprivileged reader sees
        {"basura\n", false},
    };
    for (const auto& [texto, declarada] : casos) {
        TArbolFalso arbol;
        arbol.Ioports(texto);
        EXPECT_EQ(TPuertoParalelo::RegionDeclarada(arbol.Proc(), 888), declarada) << texto;
    }
    TArbolFalso sinFichero;
    EXPECT_FALSE(TPuertoParalelo::RegionDeclarada(sinFichero.Proc(), 888));
}

TEST(PruebaPuertoParalelo, SinPuertoUtilizableNoAbreNiEscribe)
{
    // A device file that is no ppdev device refuses PPCLAIM; nothing may be
    // written into it, and the refusal is remembered.
    TArbolFalso arbol;
    arbol.Puerto("parport0", "888\t1912\n");
    arbol.Dispositivo("parport0");
    TPuertoParalelo puerto(888, arbol.Proc(), arbol.Dev());
    EXPECT_FALSE(puerto.Abrir());
    EXPECT_FALSE(puerto.Escribir(0x05));
    EXPECT_EQ(puerto.Acceso(), TPuertoParalelo::accNinguno);
    EXPECT_EQ(fs::file_size(arbol.Dev() + "/parport0"), 0u);

    TArbolFalso vacio;
    fs::remove_all(vacio.Proc());
    TPuertoParalelo ninguno(888, vacio.Proc(), vacio.Dev());
    EXPECT_FALSE(ninguno.Escribir(0x01));
}

TEST(PruebaPuertoParalelo, SinPuertoDiceElMotivo)
{
    // No case declares an I/O region, so direct port I/O is never tried.
    struct TCaso {
        const char* Nombre;
        const char* Base; // base-addr of parport0, null for none
        enum { Ninguno, Fichero, Carpeta, SoloLectura } Dispositivo;
        TCausaPuerto Causa;
    };
    const TCaso casos[] = {
        {"ningún puerto", nullptr, TCaso::Ninguno, cpSinPuerto},
        {"otra dirección", "632\t1656\n", TCaso::Fichero, cpSinPuerto},
        {"sin ppdev", "888\t1912\n", TCaso::Ninguno, cpSinDispositivo},
        // A read-only sysctl file refuses writing even to root.
        {"sin permiso", "888\t1912\n", TCaso::SoloLectura, cpSinPermiso},
        {"no es ppdev", "888\t1912\n", TCaso::Fichero, cpDispositivoFallido},
        {"no se abre", "888\t1912\n", TCaso::Carpeta, cpDispositivoFallido},
    };
    for (const TCaso& caso : casos) {
        TArbolFalso arbol;
        if (caso.Base)
            arbol.Puerto("parport0", caso.Base);
        if (caso.Dispositivo == TCaso::Fichero)
            arbol.Dispositivo("parport0");
        else if (caso.Dispositivo == TCaso::Carpeta)
            fs::create_directory(arbol.Dev() + "/parport0");
        else if (caso.Dispositivo == TCaso::SoloLectura)
            arbol.Enlace("parport0", "/proc/sys/kernel/ostype");
        TPuertoParalelo puerto(888, arbol.Proc(), arbol.Dev());
        EXPECT_FALSE(puerto.Abrir()) << caso.Nombre;
        EXPECT_EQ(puerto.Causa(), caso.Causa) << caso.Nombre;
    }
}

} // namespace
