// libedk.so as the program meets it: exactly the functions of edk.h are
// exported, and the library loads with every symbol resolved.
#include "edk.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> FuncionesDeCabecera()
{
    std::ifstream cabecera(GEDANKO_CABECERA_EDK);
    std::stringstream texto;
    texto << cabecera.rdbuf();
    const std::string todo = texto.str();
    const std::regex declaracion(R"(EDK_API\s+[^;(]*?\b((?:EE|ES|EDK)_\w+)\s*\()");
    std::set<std::string> nombres;
    for (auto i = std::sregex_iterator(todo.begin(), todo.end(), declaracion); i != std::sregex_iterator(); ++i)
        nombres.insert((*i)[1]);
    return nombres;
}

std::set<std::string> SimbolosExportados()
{
    const std::string orden = std::string(GEDANKO_NM) + " -D --defined-only " + GEDANKO_LIBEDK;
    std::unique_ptr<FILE, int (*)(FILE*)> tuberia(::popen(orden.c_str(), "r"), ::pclose);
    std::set<std::string> nombres;
    if (!tuberia)
        return nombres;
    std::array<char, 512> linea {};
    while (std::fgets(linea.data(), linea.size(), tuberia.get())) {
        std::istringstream campos(linea.data());
        std::string valor, tipo, nombre;
        campos >> valor >> tipo >> nombre;
        if (nombre.empty()) { // undefined-address lines have no value column
            nombre = tipo;
            tipo = valor;
        }
        tipo += ' ';
        nombres.insert(tipo + nombre);
    }
    return nombres;
}

TEST(Biblioteca, ExportsExactlyTheFunctionsOfTheHeader)
{
    const std::set<std::string> cabecera = FuncionesDeCabecera();
    ASSERT_FALSE(cabecera.empty());
    std::set<std::string> esperados;
    for (const std::string& nombre : cabecera)
        esperados.insert("T " + nombre);
    EXPECT_EQ(SimbolosExportados(), esperados);
}

TEST(Biblioteca, LoadsWithEverySymbolResolved)
{
    std::unique_ptr<void, int (*)(void*)> biblioteca(::dlopen(GEDANKO_LIBEDK, RTLD_NOW | RTLD_LOCAL), ::dlclose);
    ASSERT_NE(biblioteca, nullptr) << ::dlerror();
    using TConectar = int (*)();
    const auto desconectar = reinterpret_cast<TConectar>(::dlsym(biblioteca.get(), "EE_EngineDisconnect"));
    ASSERT_NE(desconectar, nullptr);
    EXPECT_EQ(desconectar(), EDK_MOTOR_NO_INICIALIZADO);
}

} // namespace
